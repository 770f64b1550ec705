// The conversion settings dialog: the target generation and the handling of bound images.
// Each opening shows the shared settings; only OK with valid input stores them.
#pragma once
#include <wx/dialog.h>

#include <functional>

#include "app/life_guard.h"
#include "app/window_services.h"

#include "convert/settings.h"
#include "convert/settings_form.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxScrollBar;
class wxScrollEvent;
class wxStaticBox;
class wxTextCtrl;

namespace plandown::app {

class TForm2 : public wxDialog {
 public:
  // Edits `settings`, which the caller keeps alive as long as the dialog. `message` shows
  // why OK was refused (the desktop's message box when empty).
  TForm2(wxWindow* parent, ConversionSettings& settings,
         std::function<void(wxWindow* parent, const String& text, MessageKind kind)> message = {});

  // Loads the settings into the controls; runs at every opening.
  void FormShow();
  // OK: stores the settings and closes, or moves the focus to the control in error.
  void Button1Click();
  // Cancel, Esc and the close box: closes without storing.
  void Button2Click();

  // What the controls hold now.
  SettingsFormState Form() const;

  wxChoice* ComboBox1 = nullptr;  // version
  wxCheckBox* CheckBox1 = nullptr;
  wxCheckBox* CheckBox2 = nullptr;
  wxChoice* ComboBox2 = nullptr;  // image format
  wxTextCtrl* Edit1 = nullptr;    // quality
  wxScrollBar* ScrollBar1 = nullptr;
  wxButton* Button1 = nullptr;  // OK
  wxButton* Button2 = nullptr;  // Cancel

 private:
  void ScrollBar1Change(wxScrollEvent& event);
  void Edit1Change();
  // The image sub-options count only while images are converted.
  void UpdateImageOptions();
  void Finish(int code);

  ConversionSettings& settings_;
  std::function<void(wxWindow* parent, const String& text, MessageKind kind)> message_;
  LifeGuard guard_;  // declared last: the handlers stop before any member goes
};

}  // namespace plandown::app
