// What the search asks of the main window once a call to its controller returns.
#include "app/tunova_dlg.h"

namespace tunova {

void CTunovaDlg::Apply(const SearchOutcome& outcome) {
    if (outcome.showResultLayout) {
        modes_.ShowResultLayout();
    }
    if (outcome.resultCountChanged) {
        InvalidateRect(kResultCountRect);
    }
    if (outcome.linkButtons) {
        modes_.PlaceLinkButtons(*outcome.linkButtons);
    }
    if (!outcome.row) {
        return;
    }
    switch (outcome.row->action) {
        case ResultRowAction::kAddToPlaylist:
            playlist_.AddResult(outcome.row->row, resultList_, search_.Results(),
                                AddVariant::kClick);
            break;
        case ResultRowAction::kCue:
            sequencer_.CueResult(outcome.row->row);
            break;
        case ResultRowAction::kPlay:
            sequencer_.PlayResult(outcome.row->row);
            break;
    }
}

}  // namespace tunova
