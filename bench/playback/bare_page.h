// A bare page for comparison with the player's page engine: one QWebEngineView of the given size
// showing nothing but an autoplaying HTML5 video of `address`, with none of the player around it.
#pragma once

#include <memory>
#include <string>

class QWebEngineView;

class BarePage {
  public:
    BarePage(const std::string& address, int width, int height);
    ~BarePage();
    // True once the video plays.
    bool Playing() const;

  private:
    std::unique_ptr<QWebEngineView> view_;
};
