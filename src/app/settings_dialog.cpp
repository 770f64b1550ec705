#include "app/settings_dialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/scrolbar.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/layout.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "util/text.h"

namespace plandown::app {

namespace {

// Client area at 96 dots per inch; the sizers widen it where the platform's font needs more.
constexpr int kClientWidth = 545;
constexpr int kClientHeight = 454;
constexpr int kGroupWidth = 529;

wxChoice* MakeChoice(wxWindow* parent, const auto& entries, int width) {
  wxArrayString items;
  for (std::u16string_view e : entries) items.Add(Wx(e));
  auto* choice = new wxChoice(parent, wxID_ANY, wxDefaultPosition, wxSize(width, -1), items);
  choice->SetMinSize(wxSize(width, -1));
  return choice;
}

}  // namespace

TForm2::TForm2(wxWindow* parent, ConversionSettings& settings,
               std::function<void(wxWindow* parent, const String& text, MessageKind kind)> message)
    : wxDialog(parent, wxID_ANY, Wx(kSettingsCaption), wxPoint(64, 64), wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      settings_(settings),
      message_(std::move(message)) {
  if (!message_) message_ = DesktopServices().message;
  // The controls are the dialog's own, laid over the group boxes: a box that owned them
  // would clip them by its own idea of its borders.
  auto* top = new wxBoxSizer(wxVERTICAL);

  // Version group: texts at their rows and indents.
  auto* group1 = new wxStaticBoxSizer(wxVERTICAL, this, Wx(kVersionGroup));
  group1->SetMinSize(wxSize(kGroupWidth, 233));
  RowPlacer rows1(group1, 0, 24);
  rows1.Add(Label(this, kAboutLabel), 16, 24);
  ComboBox1 = MakeChoice(this, kVersionEntries, 121);
  rows1.Add(LabelledRow(this, kVersionLabel, 136 - 32, ComboBox1), 32, 44, 24);
  rows1.Add(Label(this, kImageTextNote), 32, 80);
  rows1.Add(Label(this, kExtractNote), 32, 104);
  rows1.Add(Label(this, kInflateNote), 40, 120);
  rows1.Add(Label(this, kOverwriteNote), 32, 136);
  rows1.Add(Label(this, kSxfDimensionNote), 32, 160);
  rows1.Add(Label(this, kSxfLineNote), 144, 176);
  rows1.Add(Label(this, kUserDefinedNote), 96, 192);
  rows1.Add(Label(this, kUnicodeNote), 32, 212);
  rows1.Finish();
  top->Add(group1, 0, wxLEFT | wxRIGHT, 8);
  top->AddSpacer(6);

  // Image group.
  auto* group2 = new wxStaticBoxSizer(wxVERTICAL, this, Wx(kImageGroup));
  group2->SetMinSize(wxSize(kGroupWidth, 170));
  RowPlacer rows2(group2, 0, 16);
  CheckBox1 = new wxCheckBox(this, wxID_ANY, Wx(kConvertImagesCheck));
  CheckBox1->SetMinSize(wxSize(289, -1));
  rows2.Add(CheckBox1, 16, 16, 25);
  CheckBox2 = new wxCheckBox(this, wxID_ANY, Wx(kDeleteSourceCheck));
  CheckBox2->SetMinSize(wxSize(385, -1));
  rows2.Add(CheckBox2, 32, 40, 25);
  ComboBox2 = MakeChoice(this, kImageFormatEntries, 217);
  rows2.Add(LabelledRow(this, kImageFormatLabel, 216 - 32, ComboBox2), 32, 64, 24);

  auto* jpeg = new wxStaticBoxSizer(wxVERTICAL, this, Wx(kJpegGroup));
  jpeg->SetMinSize(wxSize(401, 71));
  Edit1 = new wxTextCtrl(this, wxID_ANY, wxS("75"), wxDefaultPosition, wxSize(49, -1));
  Edit1->SetMaxLength(kQualityTextLength);
  Edit1->SetMinSize(wxSize(49, -1));
  ScrollBar1 = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxSize(201, 16), wxSB_HORIZONTAL);
  ScrollBar1->SetMinSize(wxSize(201, -1));
  // A thumb of one position over 101 lets the bar stop at every value from 0 to 100.
  ScrollBar1->SetScrollbar(kQualityDefault, 1, kQualityMax - kQualityMin + 1, 10);
  auto* quality = new wxBoxSizer(wxHORIZONTAL);
  quality->Add(LabelledRow(this, kQualityLabel, 104 - 8, Edit1), 0, wxALIGN_TOP);
  quality->AddSpacer(184 - 153);
  auto* bar = new wxBoxSizer(wxVERTICAL);
  bar->Add(ScrollBar1, 0, wxEXPAND | wxTOP, 4);
  auto* ends = new wxBoxSizer(wxHORIZONTAL);
  ends->Add(Label(this, kQualityLow));
  ends->AddStretchSpacer();
  ends->AddSpacer(8);
  ends->Add(Label(this, kQualityHigh));
  bar->Add(ends, 0, wxEXPAND | wxTOP, 6);
  quality->Add(bar, 0);
  jpeg->Add(quality, 0, wxLEFT | wxRIGHT | wxTOP | wxBOTTOM, 8);
  rows2.Add(jpeg, 32, 90);
  rows2.Finish();
  top->Add(group2, 0, wxLEFT | wxRIGHT, 8);

  // OK and Cancel at the bottom right.
  Button1 = new wxButton(this, wxID_OK, Wx(kOkButton), wxDefaultPosition, wxSize(105, 35));
  Button2 = new wxButton(this, wxID_CANCEL, Wx(kCancelButton), wxDefaultPosition, wxSize(131, 35));
  Button1->SetMinSize(wxSize(105, 35));
  Button2->SetMinSize(wxSize(131, 35));
  Button1->SetDefault();
  SetEscapeId(wxID_CANCEL);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->AddStretchSpacer();
  buttons->Add(Button1);
  buttons->AddSpacer(406 - 385);
  buttons->Add(Button2);
  top->AddStretchSpacer();
  top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP | wxBOTTOM, 6);

  SetSizer(top);
  const wxSize needed = top->GetMinSize();
  SetClientSize(wxSize(std::max(needed.x, kClientWidth), std::max(needed.y, kClientHeight)));
  SetMinClientSize(GetClientSize());
  SetMaxClientSize(GetClientSize());
  Layout();

  Button1->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { Button1Click(); }));
  Button2->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { Button2Click(); }));
  Bind(wxEVT_CLOSE_WINDOW, guard_([this](wxCloseEvent&) { Button2Click(); }));
  const auto bindAll = [this](auto... types) {
    (ScrollBar1->Bind(types, guard_([this](wxScrollEvent& e) { ScrollBar1Change(e); })), ...);
  };
  Edit1->Bind(wxEVT_TEXT, guard_([this](wxCommandEvent&) { Edit1Change(); }));
  CheckBox1->Bind(wxEVT_CHECKBOX, guard_([this](wxCommandEvent&) { UpdateImageOptions(); }));
  bindAll(wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM, wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP,
          wxEVT_SCROLL_PAGEDOWN, wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_CHANGED);
}

void TForm2::FormShow() {
  const SettingsFormState form = OpenSettingsForm(settings_);
  ComboBox1->SetSelection(form.versionIndex);
  CheckBox1->SetValue(form.convertImages);
  CheckBox2->SetValue(form.deleteSourceImage);
  ComboBox2->SetSelection(form.formatIndex);
  Edit1->ChangeValue(Wx(form.qualityText));
  ScrollBar1->SetThumbPosition(form.qualityPosition);
  UpdateImageOptions();
  ComboBox1->SetFocus();
}

void TForm2::UpdateImageOptions() {
  const bool on = CheckBox1->GetValue();
  for (wxWindow* w : {static_cast<wxWindow*>(CheckBox2), static_cast<wxWindow*>(ComboBox2),
                      static_cast<wxWindow*>(Edit1), static_cast<wxWindow*>(ScrollBar1)})
    w->Enable(on);
}

SettingsFormState TForm2::Form() const {
  SettingsFormState form;
  form.versionIndex = ComboBox1->GetSelection();
  form.convertImages = CheckBox1->GetValue();
  form.deleteSourceImage = CheckBox2->GetValue();
  form.formatIndex = ComboBox2->GetSelection();
  form.qualityText = FromWx(Edit1->GetValue());
  form.qualityPosition = ScrollBar1->GetThumbPosition();
  return form;
}

void TForm2::ScrollBar1Change(wxScrollEvent& event) {
  event.Skip();
  Edit1->ChangeValue(Wx(IntToText(event.GetPosition())));
}

// Typing a valid quality moves the bar to it.
void TForm2::Edit1Change() {
  SettingsFormState form = Form();
  TypeQualityText(form, FromWx(Edit1->GetValue()));
  if (form.qualityPosition != ScrollBar1->GetThumbPosition()) ScrollBar1->SetThumbPosition(form.qualityPosition);
}

void TForm2::Button1Click() {
  switch (AcceptSettingsForm(Form(), settings_)) {
    case SettingsFormFocus::kVersion: ComboBox1->SetFocus(); return;
    case SettingsFormFocus::kQuality:
      // The box may be off with the image conversion; the text it holds must still be put right.
      Edit1->Enable();
      ScrollBar1->Enable();
      Edit1->SetFocus();
      message_(this, String(kQualityRangeText), MessageKind::kError);
      Edit1->SelectAll();
      return;
    case SettingsFormFocus::kNone: break;
  }
  Finish(wxID_OK);
}

void TForm2::Button2Click() { Finish(wxID_CANCEL); }

void TForm2::Finish(int code) {
  if (IsModal())
    EndModal(code);
  else {
    SetReturnCode(code);
    Hide();
  }
}

}  // namespace plandown::app
