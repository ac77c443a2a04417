// The playlist: the entry table of up to 500 records and the playlist view (kIdcPlaylist) that
// shows one row per entry, kept in step by every add, delete, move and load, and the file
// playlist.ini that holds it between runs.
//
// Each row's hidden column 0 holds its entry number as decimal text; that number, never the row's
// position, ties a row to its record. Entries added in a run are numbered by the add counter from
// 1 on; entries read from the file are numbered 5000 + their position in it. A number still in use
// is never handed out again, so a delete always frees the row's own record.
//
// Everything runs on the user-interface thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/skin_list.h"
#include "lists/list_file.h"
#include "lists/playlist_entry.h"
#include "platform/controls/controls.h"

namespace tunova {

class ResultStore;

// Entry numbers of rows read from the file start here.
inline constexpr int kFirstLoadedEntryNumber = 5000;
// Longest title text taken from a result row, in bytes.
inline constexpr std::size_t kMaxAddedTitleBytes = 499;
// The playing mark while a search result plays: a title no row can hold as its own.
inline constexpr char kNoPlayingItem[] = "noplayingitem";

enum class AddVariant {
    kClick,  // the add column or a double-click: the focus goes back to the result list
    kDrop,   // a drop from the result list: the focus stays on the playlist
};

class Playlist {
  public:
    Playlist() = default;
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    // Binds the playlist view. Call once, before any other member.
    void Bind(CSkinList& view);
    // Creates the view's columns ("song" hidden with the entry numbers, "재생목록" 400 wide with
    // the titles, "ARTIST" hidden and never filled), full-row select and 16-pixel rows.
    void SetupView();

    // Adds result row `row` of `resultList` (whose rows are the results of `store`). Refused,
    // silently, when the view holds 500 rows, when an entry has the same title (free records
    // have an empty title, so an empty title is refused while a record is free) or when the
    // store has no result of that title; a refused duplicate still uses up an entry number.
    // On success the new last row is the only one selected, focused and scrolled into view.
    // Returns true when a row was added.
    bool AddResult(int row, plat::ListView& resultList, const ResultStore& store,
                   AddVariant variant);
    enum class AddOutcome { kAdded, kFull, kDuplicate };
    // Adds an entry of `title` (CP949, cut to 499 bytes as a result row's is), `link` and
    // `seconds` at the end, under the same rules as AddResult: refused when the view holds 500
    // rows or an entry has the same title (a refused duplicate still uses up an entry number).
    // On success the new last row is the only one selected, focused and scrolled into view.
    AddOutcome AddEntry(std::string_view title, std::string_view link, int seconds);
    // The drop of a drag from the result list: adds every selected result row, in list order,
    // as AddResult does with the drop variant. Returns the number of rows added.
    int AddSelectedResults(plat::ListView& resultList, const ResultStore& store);
    // Deletes every selected row and frees its record.
    void RemoveSelected();
    // Moves every selected row one place up (down); a selected block at the top (bottom) stays,
    // and the selection and focus move with the rows.
    void MoveSelectedUp();
    void MoveSelectedDown();

    // Reads the file at `path` into an empty playlist: at most 500 rows of the count it
    // announces. A file that gives no rows although it holds bytes (a count that is missing, 0
    // or not a number) or that cannot be read at all is kept: the first Save copies it (or, when
    // it could not be read, renames it) to `path` + ".bak" before anything replaces it.
    void Load(const std::string& path);
    struct SaveResult {
        enum class Status { kWritten, kDeleted, kFailed };
        Status status = Status::kFailed;
        std::string error;  // what failed, for the log
        explicit operator bool() const { return status != Status::kFailed; }
    };
    // Writes the view's rows in their order to `path`, replacing the file whole (a failed write
    // leaves the old file as it was); an empty playlist deletes the file.
    SaveResult Save(const std::string& path);
    // The exact text Save writes (the count is the row count; rows without a record are left
    // out of the sections).
    std::string FileText() const;

    // For play sequencing. Rows are addressed by entry number, never by position: a row's
    // position changes with every move and delete.
    int RowCount() const;
    // The entry number shown in `row` (0 when the row does not exist).
    int EntryNumberAt(int row) const;
    // The row showing `entryNumber`, or -1.
    int RowOf(int entryNumber) const;
    // The first selected row from the top, or -1 when none is selected (the play command
    // starts its entry).
    int FirstSelectedRow() const;
    // The first record with `entryNumber`, or null (0 never finds a record).
    const PlaylistEntry* Find(int entryNumber) const;
    const PlaylistEntryTable& Entries() const { return entries_; }
    // The playing mark. MarkPlaying makes the view draw the row showing `entryNumber` as
    // playing (the view's highlight title becomes that row's title), redraws every row and
    // scrolls that row into view; it returns the row, or -1 when no row shows the number, and
    // then leaves the mark as it was. ClearPlayingMark removes the mark (a search result plays).
    int MarkPlaying(int entryNumber);
    void ClearPlayingMark();
    // The title drawn as playing ("" before anything played, kNoPlayingItem after a clear).
    const std::string& PlayingTitle() const { return view_->HighlightTitle(); }

    // The value the next successful size check starts numbering from (the last number used).
    int AddCounter() const { return addCounter_; }

    // True when the last Load kept an unreadable file aside for its backup copy.
    bool HasPendingBackup() const { return pendingBackup_.has_value(); }

  private:
    // The size check, the next entry number (in `number`) and the duplicate check of every add.
    AddOutcome CheckAdd(const std::string& title, int& number);
    // Shows `entry` in a new last row, keeps it in a free record and selects the row alone.
    void AppendEntry(const PlaylistEntry& entry);
    PlaylistEntry* FindRecord(int entryNumber);
    PlaylistEntry* FirstFreeRecord();
    // The entry number in column 0 of `row`, reading at most `maxBytes` of it.
    int EntryNumberText(int row, std::size_t maxBytes) const;
    int NextEntryNumber();
    // Inserts a row showing `number` and `title` at `index`.
    int InsertRow(int index, int number, std::string_view title);
    void MoveSelected(bool up);
    bool SwapRows(int a, int b, bool up, std::vector<int>& targets);
    void ExchangeRows(int a, int b);

    CSkinList* view_ = nullptr;
    plat::ImageList rowImages_;
    PlaylistEntryTable entries_{};
    int addCounter_ = 0;
    // What the first Save keeps of a file Load could not use.
    struct PendingBackup {
        std::string bytes;    // the file's content, to be copied
        bool unread = false;  // the file could not be read: it is renamed instead
    };
    std::optional<PendingBackup> pendingBackup_;
};

}  // namespace tunova
