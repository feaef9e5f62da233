#pragma once
// The dialog of "Edit File Params": one entry's three time stamps and four attributes, shown to
// the millisecond, with Set now, Clear time, Synchronize and Modify Attributes. It turns the
// user's choices into the values the command writes; it writes nothing itself.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "editor/core/EditApply.h"
#include "timetools/ScopeBox.h"
#include "editor/core/TimeRowStamps.h"
#include "editor/kwTimeEdit.h"
#include "editor/kwWheel.h"
#include "ui/Form.h"
#include "ui/Panel.h"
#include "ui/Scoped.h"
#include "ui/Sender.h"
#include "ui/SpeedButton.h"
#include "ui/Toolbar.h"

class EditFileParamsProbe;

class TfrmEditFileParams : public ui::Form {
public:
  static constexpr int kRowCount = 3;  // creation, last write, last access
  enum ModalResultValue { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL };

  // Creates the dialog (FormCreate runs inside), owned by `owner`, which it keeps disabled while
  // it is shown. When it offers a scope (the selection holds folders), a row below the attributes
  // chooses whether the values reach into the selected folders.
  explicit TfrmEditFileParams(HWND owner, bool offersScope = false);
  ~TfrmEditFileParams() override;

  void SetCaption(const std::wstring& caption) const;
  // The shown entry's standard information; set before the dialog is shown.
  void SetFileData(const pw::EntryInfo& info) { fileData_ = info; }
  // Whether the shown entry could be opened for writing its times; when it could not, the time
  // rows are unchecked and their panel disabled, and only the attributes can change.
  void SetFileHandle(bool valid);
  // Loads the file data into the rows and the attribute boxes (FormShow), shows the dialog and
  // runs it until Update, Cancel or a close. Returns the modal result.
  int ShowModal();
  // What Update confirmed: a UTC file time per checked row (creation, last access, last write)
  // and the attribute choice.
  pw::EditChoice Choice() const;

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The font, the glyphs and the time edits' buttons for the dialog's DPI.
  void ApplyDpi(UINT oldDpi) override;
  void ArrangeControls() override;

private:
  friend class EditFileParamsProbe;
  struct Tables;  // the toolbar's table names the handlers below

  // Event handlers.
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void cbTimesClick(int row);
  void cbModifyClick();
  void cbSynchronizeClick();
  void dtDateChange(HWND sender);
  void btnNowClick(const ui::Sender&);
  void btnClearTimeClick(const ui::Sender&);
  void btnUpdateClick(const ui::Sender&);
  void btnCancelClick(const ui::Sender&);

  bool ModifyAttributes() const;
  double GetRowDateTime(int row) const;
  void SetRowDateTime(int row, double value);
  void SetAllRowsDateTime(double value);
  ui::SpeedButton& Button(std::wstring_view name) const { return *pnToolbar.Find(name); }
  void CreateControls();
  void CreateRows();
  void ChooseFont();
  HWND AddCheckBox(HWND parent, const wchar_t* caption, bool leftText);
  double DateOf(HWND dateControl) const;  // the whole date-time the control holds
  double RowValue(int row) const;          // the row's date with its time edit's time of day
  void SetDate(HWND dateControl, double value) const;
  bool IsChecked(HWND box) const { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void UpdateButtonState();
  int RowOf(HWND control) const;  // the row of a date control or time edit, or -1

  void OnCommand(WPARAM wp, LPARAM lp);
  void OnNotify(const NMHDR& hdr);

  // Controls. The toolbar's buttons are btnNow, btnClearTime, btnUpdate and btnCancel.
  ui::Toolbar pnToolbar;
  ui::Panel pnBack, pnAttributes, pnScope;
  TScopeBox Scope;
  HWND cbSynchronize = nullptr, cbModify = nullptr;
  HWND cbReadOnly = nullptr, cbHidden = nullptr, cbSystem = nullptr, cbArchive = nullptr;
  std::array<HWND, kRowCount> cbTimes{};
  std::array<HWND, kRowCount> dtDates{};
  std::array<std::unique_ptr<pw::TkwTimeEdit>, kRowCount> edTimes;
  std::unique_ptr<pw::TkwAddWheelSupport> WheelSupport;

  pw::EntryInfo fileData_;
  bool offersScope_ = false;
  bool updating_ = false;  // rows are being set from code: no change handling
  // Which stamp each row writes: an untouched row the one loaded into it, to the 100 ns.
  pw::TimeRowStamps rowStamps_;
  std::vector<HWND> components_;  // the windowed controls, in the order they were made
};
