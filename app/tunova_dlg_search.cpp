// The main window's side of the search (SearchWindow): what the search controller reads from
// the window and tells it.
#include "app/tunova_dlg.h"

namespace tunova {

std::string CTunovaDlg::SearchWord() {
    search.searchText = searchEdit.Text();
    return search.searchText;
}

int CTunovaDlg::CountryIndex() const {
    return search.countryIndex;
}

bool CTunovaDlg::DoubleClickAdds() const {
    return settings.doubleClickAdds;
}

void CTunovaDlg::ShowResultLayout() {
    modes_.ShowResultLayout();
}

void CTunovaDlg::ResultCountChanged() {
    InvalidateRect(kResultCountRect);
}

void CTunovaDlg::PlaceLinkButtons(bool moreResultsShown) {
    modes_.PlaceLinkButtons(moreResultsShown);
}

void CTunovaDlg::OnResultRow(ResultRowAction action, int row) {
    switch (action) {
        case ResultRowAction::kAddToPlaylist:
            playlist_.AddResult(row, resultList, search_.Results(), AddVariant::kClick);
            break;
        case ResultRowAction::kCue:
            sequencer_.CueResult(row);
            break;
        case ResultRowAction::kPlay:
            sequencer_.PlayResult(row);
            break;
    }
}

}  // namespace tunova
