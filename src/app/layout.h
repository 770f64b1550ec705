// Sizer helpers that reproduce a layout given as pixel positions at 96 dots per inch while
// letting every control grow to what the platform's font needs, so no text is clipped.
#pragma once
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <string_view>

#include "app/wx_text.h"

namespace plandown::app {

// The nominal height of one line of text in the positions.
inline constexpr int kLineHeight = 16;

inline wxStaticText* Label(wxWindow* parent, std::u16string_view text) {
  return new wxStaticText(parent, wxID_ANY, Wx(text));
}

// A label and its control on one line; the control starts `controlOffset` pixels after the
// label's start, or later when the label is wider.
inline wxSizer* LabelledRow(wxWindow* parent, std::u16string_view text, int controlOffset, wxWindow* control) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  wxStaticText* label = Label(parent, text);
  label->SetMinSize(wxSize(std::max(label->GetBestSize().x + 4, controlOffset), -1));
  row->Add(label, 0, wxALIGN_CENTER_VERTICAL);
  row->Add(control, 0, wxALIGN_CENTER_VERTICAL);
  return row;
}

// Stacks items top-down at their given positions inside a parent: each item is indented
// by its x relative to `left`, and preceded by the space that its y leaves below the
// previous item's nominal height. Finish leaves a margin under the last item.
class RowPlacer {
 public:
  RowPlacer(wxSizer* sizer, int left, int top) : sizer_(sizer), left_(left), bottom_(top) {}

  template <class Item>
  void Add(Item* item, int x, int y, int height = kLineHeight) {
    if (y > bottom_) sizer_->AddSpacer(y - bottom_);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddSpacer(std::max(0, x - left_));
    row->Add(item, 0);
    row->AddSpacer(8);
    sizer_->Add(row, 0);
    bottom_ = y + height;
  }
  void Finish() { sizer_->AddSpacer(8); }

 private:
  wxSizer* sizer_;
  int left_;
  int bottom_;
};

}  // namespace plandown::app
