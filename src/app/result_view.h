// The result view: after every conversion run, what became of each file (converted,
// refused and why, failed, cancelled), the backups made, the images placed and what the
// down-conversion changed, with a summary line. Rows can be copied as text, and the run's
// JSON report can be saved. A window of its own beside the main window, kept between runs.
#pragma once
#include <wx/dialog.h>

#include <vector>

#include "app/life_guard.h"
#include "app/window_services.h"
#include "convert/conversion_result.h"
#include "convert/result_rows.h"
#include "convert/settings.h"

class wxButton;
class wxListCtrl;
class wxStaticText;
class wxTextCtrl;

namespace plandown::app {

class TResultView : public wxDialog {
 public:
  // `services` must outlive the view.
  TResultView(wxWindow* parent, const WindowServices& services);
  ~TResultView() override;

  // Shows the results of a run into `destination` made with `settings`, and brings the
  // view to the front.
  void ShowResults(const String& destination, const ConversionSettings& settings,
                   std::vector<FileConversion> results);

  // The selected rows as text, or every row when none is selected, onto the clipboard.
  void CopyRows();
  // Asks for a file name and saves the JSON report there.
  void SaveReport();
  void SelectAllRows();
  // The detail box shows the row that has the focus.
  void ShowDetails();

  const std::vector<ResultRow>& Rows() const { return rows_; }

  wxStaticText* SummaryLabel = nullptr;
  wxStaticText* DestinationLabel = nullptr;
  wxListCtrl* ResultList = nullptr;
  wxTextCtrl* DetailBox = nullptr;  // every text of the selected row, whole
  wxButton* CopyButton = nullptr;
  wxButton* SaveButton = nullptr;
  wxButton* CloseButton = nullptr;

 private:
  const WindowServices& services_;
  String destination_;
  ConversionSettings settings_;
  std::vector<FileConversion> results_;
  std::vector<ResultRow> rows_;
  bool columnsFitted_ = false;
  LifeGuard guard_;  // declared last: the handlers stop before any member goes
};

}  // namespace plandown::app
