// Stand-in for the playlist (lists/: the entry table, its file "playlist.ini" and the playlist
// view 1001) until it is built: nothing is loaded, saved, added, deleted or moved.
//
// To replace it: put the playlist object in CTunovaDlg in place of `playlist_`
// (app/tunova_dlg.h); the table rows and start-up steps that call `playlist_` then call it.
// Delete this file.
#pragma once

namespace tunova {

class PlaylistStandIn {
  public:
    // Start-up: the view's columns and styles; reading "playlist.ini".
    void SetUpView() {}
    void Load() {}
    // Shutdown: writing "playlist.ini".
    void Save() {}
    // Commands 1136, 1129 and 1130, and Delete in the playlist view.
    void DeleteSelection() {}
    void MoveSelection(bool /*up*/) {}
    // A result row added (click on its add picture, or double-click when that adds).
    void AddResult(int /*row*/) {}
};

}  // namespace tunova
