// Platform-internal: the native widgets behind windows. HostWidget is the plain window the
// platform creates itself; ControlEventBridge gives Qt's own controls the same focus, key and
// size messages.
#pragma once

#include <QImage>
#include <QObject>
#include <QWidget>
#include <cstdint>

namespace plat {

class Window;

class HostWidget : public QWidget {
  public:
    HostWidget(Window* owner, QWidget* parent);
    ~HostWidget() override;
    // Cut off from the window: later events reach nobody.
    void Orphan() { owner_ = nullptr; }
    // The window's own pixels as its paints left them (children not included).
    const QImage& Surface() const { return backing_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void SendMouse(std::uint32_t message, QMouseEvent* event);
    Window* owner_;
    QImage backing_;  // what the window's paint DC draws on; kept between paints
};

// Installed on Qt controls (buttons, edits, ...): sends kWmSetFocus, kWmKillFocus, kWmKeyDown,
// kWmKeyUp and kWmSize to the owning window, leaving the event to the control.
class ControlEventBridge : public QObject {
  public:
    ControlEventBridge(Window* owner, QObject* parent) : QObject(parent), owner_(owner) {}
    void Orphan() { owner_ = nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Window* owner_;
};

}  // namespace plat
