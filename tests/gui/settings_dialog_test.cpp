// The settings dialog as the user meets it: what each opening shows, the quality bar that
// writes into the quality box, OK that stores or only moves the focus, and Cancel.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/scrolbar.h>
#include <wx/textctrl.h>

#include "app/settings_dialog.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "window_harness.h"

namespace plandown {
namespace {

using app::FromWx;
using app::TForm2;
using app::Wx;
using testing::Click;
using testing::WaitFor;

// The dialog shown without its modal loop, so that a test can work its controls; the
// main window's test runs it modally.
class SettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = new TForm2(nullptr, settings, [this](wxWindow*, const String& text, app::MessageKind) {
      messages.push_back(text);
    });
  }
  void TearDown() override { dialog->Destroy(); }

  void Open() {
    dialog->FormShow();
    dialog->Show();
    ASSERT_TRUE(WaitFor([this] { return dialog->IsShownOnScreen(); }));
  }
  void MoveBar(int position) {
    dialog->ScrollBar1->SetThumbPosition(position);
    wxScrollEvent event(wxEVT_SCROLL_THUMBTRACK, dialog->ScrollBar1->GetId(), position, wxHORIZONTAL);
    event.SetEventObject(dialog->ScrollBar1);
    dialog->ScrollBar1->ProcessWindowEvent(event);
  }
  // As typing does, with the text-changed event.
  void TypeQuality(const char* text) { dialog->Edit1->SetValue(wxString::FromUTF8(text)); }
  String QualityText() const { return FromWx(dialog->Edit1->GetValue()); }
  bool StillOpen() const { return dialog->IsShown(); }

  ConversionSettings settings;
  TForm2* dialog = nullptr;
  std::vector<String> messages;
};

TEST_F(SettingsDialog, ShowsItsCaptionsAndLists) {
  Open();
  EXPECT_EQ(FromWx(dialog->GetTitle()), app::kSettingsCaption);
  EXPECT_FALSE(dialog->HasFlag(wxRESIZE_BORDER));
  ASSERT_EQ(dialog->ComboBox1->GetCount(), 4u);
  EXPECT_EQ(FromWx(dialog->ComboBox1->GetString(3)), u"Ver.3.00形式");
  ASSERT_EQ(dialog->ComboBox2->GetCount(), 6u);
  EXPECT_EQ(FromWx(dialog->ComboBox2->GetString(0)), u"同梱前と同じ画像形式");
  EXPECT_EQ(FromWx(dialog->ComboBox2->GetString(5)), u"TIFF形式");
  EXPECT_EQ(FromWx(dialog->CheckBox1->GetLabel()), app::kConvertImagesCheck);
  EXPECT_EQ(FromWx(dialog->Button1->GetLabel()), app::kOkButton);
  EXPECT_EQ(FromWx(dialog->Button2->GetLabel()), app::kCancelButton);
  // At least the client area of the layout, grown where the font needs it.
  EXPECT_GE(dialog->GetClientSize().x, 545);
  EXPECT_GE(dialog->GetClientSize().y, 454);
}

TEST_F(SettingsDialog, OpeningShowsTheSettingsAndReplacesValuesItCannotShow) {
  struct Case {
    const char* name;
    ConversionSettings in;
    int version, format;
    const char16_t* quality;
    int bar;
  };
  const Case cases[] = {
      {"defaults", {}, 0, 0, u"75", 75},
      {"every value set", {2, 1, 1, 4, 30}, 2, 4, u"30", 30},
      {"version outside the list selects nothing", {7, 0, 0, 0, 75}, wxNOT_FOUND, 0, u"75", 75},
      {"format outside the list shows the first", {0, 0, 0, 9, 75}, 0, 0, u"75", 75},
      {"quality 120 shows 75", {0, 0, 0, 0, 120}, 0, 0, u"75", 75},
      {"quality -1 shows 75", {0, 0, 0, 0, -1}, 0, 0, u"75", 75},
      {"quality 0 and 100 are kept", {0, 0, 0, 0, 100}, 0, 0, u"100", 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings = c.in;
    dialog->FormShow();
    EXPECT_EQ(dialog->ComboBox1->GetSelection(), c.version);
    EXPECT_EQ(dialog->CheckBox1->GetValue(), c.in.ConvertBoundImages != 0);
    EXPECT_EQ(dialog->CheckBox2->GetValue(), c.in.DeleteSourceImage != 0);
    EXPECT_EQ(dialog->ComboBox2->GetSelection(), c.format);
    EXPECT_EQ(QualityText(), c.quality);
    EXPECT_EQ(dialog->ScrollBar1->GetThumbPosition(), c.bar);
  }
}

TEST_F(SettingsDialog, TheBarWritesTheTextAndFollowsAValidTypedQuality) {
  Open();
  MoveBar(40);
  EXPECT_EQ(QualityText(), u"40");
  MoveBar(100);
  EXPECT_EQ(QualityText(), u"100");
  TypeQuality("90");
  EXPECT_EQ(dialog->ScrollBar1->GetThumbPosition(), 90);
  EXPECT_EQ(QualityText(), u"90") << "the bar does not write back over the typed text";
  TypeQuality("9o");
  EXPECT_EQ(dialog->ScrollBar1->GetThumbPosition(), 90) << "an invalid text leaves the bar";
  // Typed digit by digit, 150 passes 15: the bar goes to the top, not to 15.
  for (const char* text : {"1", "15", "150"}) TypeQuality(text);
  EXPECT_EQ(dialog->ScrollBar1->GetThumbPosition(), 100);
  TypeQuality("12");
  Click(dialog->Button1);
  EXPECT_FALSE(StillOpen());
  EXPECT_EQ(settings.JpegQuality, 12);
}

TEST_F(SettingsDialog, TheImageOptionsCountOnlyWhileImagesAreConverted) {
  Open();
  EXPECT_FALSE(dialog->CheckBox1->GetValue());
  for (wxWindow* w : std::vector<wxWindow*>{dialog->CheckBox2, dialog->ComboBox2, dialog->Edit1, dialog->ScrollBar1})
    EXPECT_FALSE(w->IsEnabled());
  dialog->CheckBox1->SetValue(true);
  wxCommandEvent tick(wxEVT_CHECKBOX, dialog->CheckBox1->GetId());
  tick.SetInt(1);
  tick.SetEventObject(dialog->CheckBox1);
  dialog->CheckBox1->GetEventHandler()->ProcessEvent(tick);
  for (wxWindow* w : std::vector<wxWindow*>{dialog->CheckBox2, dialog->ComboBox2, dialog->Edit1, dialog->ScrollBar1})
    EXPECT_TRUE(w->IsEnabled());
}

TEST_F(SettingsDialog, OkStoresEveryControl) {
  Open();
  dialog->ComboBox1->SetSelection(1);
  dialog->CheckBox1->SetValue(true);
  dialog->CheckBox2->SetValue(true);
  dialog->ComboBox2->SetSelection(3);
  MoveBar(20);
  Click(dialog->Button1);
  EXPECT_FALSE(StillOpen());
  EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
  EXPECT_TRUE(settings == (ConversionSettings{1, 1, 1, 3, 20}));
}

TEST_F(SettingsDialog, OkWithInvalidInputOnlyMovesTheFocus) {
  struct Case {
    const char* name;
    int version;
    const char* quality;
    bool accepted;
    int stored;
  };
  const Case cases[] = {
      {"quality 150", 0, "150", false, 0},
      {"quality 7o is no number", 0, "7o", false, 0},
      {"an empty quality", 0, "", false, 0},
      {"no version chosen", wxNOT_FOUND, "50", false, 0},
      {"quality 0", 0, "0", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings = ConversionSettings{};
    settings.JpegQuality = 60;
    messages.clear();
    Open();
    dialog->ComboBox1->SetSelection(c.version);
    TypeQuality(c.quality);
    dialog->CheckBox1->SetFocus();
    Click(dialog->Button1);
    EXPECT_EQ(StillOpen(), !c.accepted);
    if (c.accepted) {
      EXPECT_EQ(settings.JpegQuality, c.stored);
      EXPECT_TRUE(messages.empty());
      continue;
    }
    EXPECT_EQ(settings.JpegQuality, 60);
    // A refused quality is explained with its range; a missing version only takes the focus.
    if (c.version == wxNOT_FOUND) {
      EXPECT_TRUE(messages.empty());
    } else {
      EXPECT_EQ(messages, std::vector<String>{String(kQualityRangeText)});
    }
    wxWindow* expected = c.version == wxNOT_FOUND ? static_cast<wxWindow*>(dialog->ComboBox1) : dialog->Edit1;
    EXPECT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == expected; }, std::chrono::seconds(2)))
        << "the focus is not on the control in error";
    dialog->Hide();
  }
}

TEST_F(SettingsDialog, CancelKeepsEverySetting) {
  settings = ConversionSettings{2, 1, 0, 4, 30};
  const ConversionSettings before = settings;
  Open();
  dialog->ComboBox1->SetSelection(0);
  dialog->CheckBox1->SetValue(false);
  dialog->CheckBox2->SetValue(true);
  dialog->ComboBox2->SetSelection(1);
  MoveBar(99);
  Click(dialog->Button2);
  EXPECT_FALSE(StillOpen());
  EXPECT_EQ(dialog->GetReturnCode(), wxID_CANCEL);
  EXPECT_TRUE(settings == before);
  // The next opening shows the settings again, not the discarded edits.
  dialog->FormShow();
  EXPECT_EQ(dialog->ComboBox1->GetSelection(), 2);
  EXPECT_EQ(QualityText(), u"30");
}

}  // namespace
}  // namespace plandown
