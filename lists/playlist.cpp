#include "lists/playlist.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>
#include <utility>

#include "platform/core/codepage.h"
#include "platform/core/files.h"
#include "platform/core/number_text.h"
#include "platform/core/profile.h"
#include "platform/draw/draw.h"
#include "search/result_list.h"
#include "search/result_store.h"

namespace tunova {
namespace {

constexpr std::uint32_t kSelectedAndFocused = plat::kLvisSelected | plat::kLvisFocused;
// Bytes of column 0 read back as an entry number: by a delete, and by a save.
constexpr std::size_t kDeleteNumberBytes = 99;
constexpr std::size_t kSaveNumberBytes = 999;

}  // namespace

void Playlist::Bind(CSkinList& view) {
    view_ = &view;
}

void Playlist::SetupView() {
    view_->InsertColumn(0, "song", plat::kLvcfmtLeft, 0);
    view_->InsertColumn(1, "재생목록", plat::kLvcfmtLeft, 400);
    view_->InsertColumn(2, "ARTIST", plat::kLvcfmtLeft, 0);
    view_->SetExtendedStyle(plat::kLvsExFullRowSelect);
    if (rowImages_.Count() == 0) {
        plat::Bitmap row;
        row.Create(1, 16);
        rowImages_.Add(row);
    }
    view_->SetImageList(&rowImages_);
    // Read aloud as the result rows are: position, title, play time (when known).
    view_->SetRowReader([this](int row) {
        std::string reading = std::to_string(row + 1) + ", " + view_->ItemText(row, 1);
        const PlaylistEntry* entry = Find(EntryNumberAt(row));
        if (entry != nullptr && entry->seconds > 0) {
            reading += ", " + FormatPlayTime(entry->seconds);
        }
        return reading;
    });
}

int Playlist::InsertRow(int index, int number, std::string_view title) {
    const int row = view_->InsertItem(index, std::to_string(number));
    view_->SetItemText(row, 1, title);
    return row;
}

bool Playlist::AddResult(int row, plat::ListView& resultList, const ResultStore& store,
                         AddVariant variant) {
    int number = 0;
    const std::string title(plat::CutCp949(resultList.ItemText(row, 1), kMaxAddedTitleBytes));
    if (CheckAdd(title, number) != AddOutcome::kAdded) {
        return false;
    }
    // The row's own result when the titles agree, else the first result of that title.
    const VideoItem* item = store.At(row);
    if (item == nullptr || item->title != title) {
        const auto& items = store.Items();
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&](const VideoItem& i) { return i.title == title; });
        if (found == items.end()) {
            return false;
        }
        item = &*found;
    }
    AppendEntry({item->title, item->link, item->updated, item->content, item->seconds, number});
    if (variant == AddVariant::kClick) {
        resultList.SetFocus();
    }
    return true;
}

Playlist::AddOutcome Playlist::AddEntry(std::string_view title, std::string_view link,
                                        int seconds) {
    int number = 0;
    const std::string cut(plat::CutCp949(title, kMaxAddedTitleBytes));
    const AddOutcome outcome = CheckAdd(cut, number);
    if (outcome == AddOutcome::kAdded) {
        AppendEntry({cut, std::string(link), {}, {}, seconds, number});
    }
    return outcome;
}

Playlist::AddOutcome Playlist::CheckAdd(const std::string& title, int& number) {
    if (view_->ItemCount() >= kPlaylistCapacity) {
        return AddOutcome::kFull;
    }
    number = NextEntryNumber();
    const bool duplicate = std::any_of(entries_.begin(), entries_.end(),
                                       [&](const PlaylistEntry& e) { return e.title == title; });
    return duplicate ? AddOutcome::kDuplicate : AddOutcome::kAdded;
}

void Playlist::AppendEntry(const PlaylistEntry& entry) {
    const int newRow = InsertRow(view_->ItemCount(), entry.entryNumber, entry.title);
    if (PlaylistEntry* record = FirstFreeRecord()) {
        *record = entry;
    }
    view_->SetItemState(-1, 0, kSelectedAndFocused);
    view_->SetItemState(newRow, kSelectedAndFocused, kSelectedAndFocused);
    view_->SetFocus();
    view_->EnsureVisible(newRow);
}

int Playlist::AddSelectedResults(plat::ListView& resultList, const ResultStore& store) {
    int added = 0;
    for (int row = resultList.NextItem(-1, plat::kLvniSelected); row >= 0;
         row = resultList.NextItem(row, plat::kLvniSelected)) {
        added += AddResult(row, resultList, store, AddVariant::kDrop) ? 1 : 0;
    }
    return added;
}

void Playlist::RemoveSelected() {
    // From the end, so that deleting a row does not shift the rows still to be visited.
    for (int row = view_->ItemCount() - 1; row >= 0; --row) {
        if (view_->ItemState(row, plat::kLvisSelected) == 0) {
            continue;
        }
        if (PlaylistEntry* record = FindRecord(EntryNumberText(row, kDeleteNumberBytes))) {
            *record = PlaylistEntry{};
        }
        view_->DeleteItem(row);
    }
}

void Playlist::MoveSelectedUp() {
    MoveSelected(true);
}

void Playlist::MoveSelectedDown() {
    MoveSelected(false);
}

void Playlist::MoveSelected(bool up) {
    const int count = view_->ItemCount();
    if (count == 1) {
        return;
    }
    // Rows moved into (or tried) during this command; one per selected row at most.
    std::vector<int> targets;
    targets.reserve(static_cast<std::size_t>(view_->SelectedCount()));
    bool moved = false;
    if (up) {
        for (int row = 0; row < count; ++row) {
            if (view_->ItemState(row, plat::kLvisSelected) != 0) {
                moved = SwapRows(row, row - 1, true, targets) || moved;
            }
        }
    } else {
        for (int row = count - 1; row >= 0; --row) {
            if (view_->ItemState(row, plat::kLvisSelected) != 0) {
                moved = SwapRows(row, row + 1, false, targets) || moved;
            }
        }
    }
    if (moved) {
        view_->SetFocus();
        view_->EnsureVisible(targets.front());
    }
}

bool Playlist::SwapRows(int a, int b, bool up, std::vector<int>& targets) {
    view_->SetFocus();
    // A row never moves into a place another row of this command moved into or tried to.
    if (std::find(targets.begin(), targets.end(), b) != targets.end()) {
        return false;
    }
    b = std::clamp(b, 0, view_->ItemCount() - 1);
    targets.push_back(b);
    if ((up && a == 0) || a == b) {
        return false;
    }
    ExchangeRows(a, b);
    return true;
}

void Playlist::ExchangeRows(int a, int b) {
    for (int column = 0; column < view_->ColumnCount(); ++column) {
        const std::string textA = view_->ItemText(a, column);
        view_->SetItemText(a, column, view_->ItemText(b, column));
        view_->SetItemText(b, column, textA);
    }
    const int imageA = view_->ItemImage(a, 0);
    view_->SetItemImage(a, 0, view_->ItemImage(b, 0));
    view_->SetItemImage(b, 0, imageA);
    const std::intptr_t dataA = view_->ItemData(a);
    view_->SetItemData(a, view_->ItemData(b));
    view_->SetItemData(b, dataA);
    // Selection and focus move with the rows; a row can hold the focus alone, so the row that
    // loses it is set first.
    const std::uint32_t stateA = view_->ItemState(a, kSelectedAndFocused);
    const std::uint32_t stateB = view_->ItemState(b, kSelectedAndFocused);
    view_->SetItemState(a, stateB, kSelectedAndFocused);
    view_->SetItemState(b, stateA, kSelectedAndFocused);
}

void Playlist::Load(const std::string& path) {
    std::string bytes;
    const plat::Profile file = plat::Profile::FromFile(path, &bytes);
    const std::vector<ListFileRow> rows = ReadListFileRows(file, kPlaylistCapacity);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const ListFileRow& read = rows[static_cast<std::size_t>(i)];
        const int number = kFirstLoadedEntryNumber + i;
        InsertRow(i, number, read.name);
        if (PlaylistEntry* record = FirstFreeRecord()) {
            *record = {read.name, read.url, {}, {}, read.seconds, number};
        }
    }
    if (!rows.empty()) {
        return;
    }
    if (!bytes.empty()) {
        pendingBackup_ = PendingBackup{std::move(bytes), false};
    } else if (!file.Exists() && plat::FileExists(path)) {
        // There but unreadable (its permissions, an I/O error): it holds a list we never saw.
        pendingBackup_ = PendingBackup{{}, true};
    }
}

Playlist::SaveResult Playlist::Save(const std::string& path) {
    // An unreadable file found at start-up is kept before anything replaces or deletes it.
    if (pendingBackup_) {
        const std::string backup = path + ".bak";
        plat::FileResult kept = pendingBackup_->unread
                                    ? plat::RenameFile(path, backup)
                                    : plat::ReplaceFile(backup, pendingBackup_->bytes);
        if (!kept && kept.error == ENOENT && pendingBackup_->unread) {
            kept = {};  // gone meanwhile: nothing left to keep
        }
        if (!kept) {
            return {SaveResult::Status::kFailed, kept.description};
        }
        pendingBackup_.reset();
    }
    if (RowCount() == 0) {
        const plat::FileResult removed = plat::DeleteFile(path);
        if (!removed && removed.error != ENOENT) {
            return {SaveResult::Status::kFailed, removed.description};
        }
        return {SaveResult::Status::kDeleted, {}};
    }
    const plat::FileResult written = plat::ReplaceFile(path, FileText());
    if (!written) {
        return {SaveResult::Status::kFailed, written.description};
    }
    return {SaveResult::Status::kWritten, {}};
}

std::string Playlist::FileText() const {
    const int rows = view_->ItemCount();
    ListFileWriter writer(rows);
    for (int row = 0; row < rows; ++row) {
        if (const PlaylistEntry* record = Find(EntryNumberText(row, kSaveNumberBytes))) {
            writer.Append(record->title, record->seconds, record->link);
        }
    }
    return writer.Text();
}

int Playlist::RowCount() const {
    return view_->ItemCount();
}

int Playlist::EntryNumberAt(int row) const {
    return EntryNumberText(row, kSaveNumberBytes);
}

int Playlist::EntryNumberText(int row, std::size_t maxBytes) const {
    return plat::ReadLeadingInteger(plat::CutCp949(view_->ItemText(row, 0), maxBytes));
}

int Playlist::RowOf(int entryNumber) const {
    const std::string text = std::to_string(entryNumber);
    for (int row = 0; row < view_->ItemCount(); ++row) {
        if (view_->ItemText(row, 0) == text) {
            return row;
        }
    }
    return -1;
}

int Playlist::MarkPlaying(int entryNumber) {
    const int row = RowOf(entryNumber);
    if (row < 0) {
        return -1;
    }
    view_->SetHighlightTitle(view_->ItemText(row, 1));
    view_->Invalidate();
    view_->EnsureVisible(row);
    return row;
}

void Playlist::ClearPlayingMark() {
    view_->SetHighlightTitle(kNoPlayingItem);
    view_->Invalidate();
}

int Playlist::FirstSelectedRow() const {
    return view_->NextItem(-1, plat::kLvniSelected);
}

const PlaylistEntry* Playlist::Find(int entryNumber) const {
    if (entryNumber == 0) {
        return nullptr;
    }
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const PlaylistEntry& e) {
        return e.entryNumber == entryNumber;
    });
    return it != entries_.end() ? &*it : nullptr;
}

PlaylistEntry* Playlist::FindRecord(int entryNumber) {
    return const_cast<PlaylistEntry*>(std::as_const(*this).Find(entryNumber));
}

PlaylistEntry* Playlist::FirstFreeRecord() {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [](const PlaylistEntry& e) { return e.entryNumber == 0; });
    return it != entries_.end() ? &*it : nullptr;
}

int Playlist::NextEntryNumber() {
    // Numbers of loaded entries (5000 on) are skipped once the counter reaches them.
    do {
        addCounter_ = addCounter_ == INT_MAX ? 1 : addCounter_ + 1;
    } while (Find(addCounter_) != nullptr);
    return addCounter_;
}

}  // namespace tunova
