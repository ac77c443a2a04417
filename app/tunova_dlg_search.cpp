// The main window's side of the search: binding the search controller to the window's
// controls and state, and routing the search slots to it.
#include "app/tunova_dlg.h"
#include "platform/application.h"
#include "res/resource_ids.h"
#include "services/host_config.h"

namespace tunova {

void CTunovaDlg::BindSearch() {
    SearchHooks hooks;
    hooks.searchText = [this] {
        search.searchText = searchEdit.Text();
        return search.searchText;
    };
    hooks.countryIndex = [this] { return search.countryIndex; };
    hooks.hosts = LoadHosts();
    hooks.repaintResultCount = [this] { Invalidate(); };
    hooks.linkButton1133 = SkinButton(res::kIdcHomePage);
    hooks.linkButton1138 = &qnaButton;
    hooks.layoutRect = [this](int id) { return NormalLayoutRect(id); };
    hooks.addToPlaylist = [this](int row) { AddResultToPlaylist(row); };
    hooks.cueResult = [this](int row) { CueResult(row); };
    hooks.playResult = [this](int row) { PlayResult(row); };
    hooks.beginDrag = [this](int row) { BeginResultDrag(row); };
    hooks.playerInitialised = [this] { return playback.playerInitialised; };
    hooks.pageReady = [this] { return playback.pageReady; };
    hooks.doubleClickAdds = [this] { return settings.doubleClickAdds; };
    searchController.Bind(*this, resultList, *SkinButton(res::kIdcSearchMore), std::move(hooks));
    Messages().OnMessage(kWmSearchResults, [this](plat::WParam w, plat::LParam l) {
        return searchController.OnResultsArrived(w, l);
    });
}

void CTunovaDlg::SetUpResultList() {
    searchController.SetupResultList();
}
void CTunovaDlg::StartSearch() {
    searchController.StartSearch();
}
void CTunovaDlg::RequestNextPage() {
    searchController.RequestNextPage();
}
void CTunovaDlg::CheckScrollPaging() {
    searchController.CheckScrollPaging();
}

void CTunovaDlg::OnResultClick(const plat::ItemActivate& click) {
    searchController.OnResultClick(click.hdr);
}

void CTunovaDlg::OnResultDoubleClick(const plat::ItemActivate& click) {
    searchController.OnResultDoubleClick(click.hdr);
}

void CTunovaDlg::OnResultBeginDrag(const plat::ListViewNotify& drag) {
    searchController.OnResultBeginDrag(drag.hdr);
}

}  // namespace tunova
