// plandown-gui: the desktop application.
#include <wx/app.h>
#include <wx/iconbndl.h>
#include <wx/dirctrl.h>
#include <wx/utils.h>
#include <wx/filename.h>
#include <wx/image.h>

#include "app/folder_tree.h"
#include "app/main_form.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "convert/settings_file.h"
#include "util/desktop.h"
#include "util/paths.h"

namespace plandown::app {

class PlandownApp : public wxApp {
 public:
  bool OnInit() override {
    SetAppName(wxS("plandown"));
    SetAppDisplayName(Wx(kAppTitle));
    wxInitAllImageHandlers();
    MainFormSetup setup;
    setup.programFolder = ExtractFolder(ExecutablePath());
    setup.settingsFileName = DefaultSettingsFileName();
    setup.services = DesktopServices();
    // Folders or files to show (a shortcut, "Open with", a drop on the icon, "Send to");
    // wxWidgets hands them over as Unicode on every platform.
    for (int i = 1; i < argc; ++i) {
      wxFileName name(argv[i]);
      name.MakeAbsolute();
      setup.startPaths.push_back(FromWx(name.GetFullPath()));
    }
    auto* form = new TForm1(std::move(setup));
#ifdef __WXMSW__
    // The program's icon (its resources) in the title bar and Alt+Tab, every size.
    form->SetIcons(wxIconBundle(wxS("aaaaaaaa"), nullptr));
#endif
    form->FormShow();
    form->Show();
    SetTopWindow(form);
    // A test hook: the folder is chosen in the tree once the window runs, as a click would
    // (the tests that end the program from outside need a setting changed by the user).
    wxString folder;
    if (wxGetEnv(wxS("PLANDOWN_TEST_CHOOSE_FOLDER"), &folder) && !folder.empty()) {
      form->CallAfter([form, folder] {
        form->plExplorerFolderTree1->DirCtrl()->UnselectAll();
        form->plExplorerFolderTree1->DirCtrl()->ExpandPath(folder);
      });
    }
    return true;
  }
};

}  // namespace plandown::app

wxIMPLEMENT_APP(plandown::app::PlandownApp);
