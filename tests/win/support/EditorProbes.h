#pragma once
// What tests and tools may read of the editor's windows: their controls by the names the layouts
// give them. It only reads; every change goes through the controls, as a user's would.
#include <windows.h>

#include <string_view>

#include "editor/kwFileEditParams.h"
#include "timetools/kwPreview.h"
#include "timetools/kwProgress.h"
#include "timetools/kwTimeTool.h"
#include "timetools/kwSetClockRight.h"
#include "timetools/kwTimesFromContent.h"
#include "ui/ListView.h"

// The form of a window made by one of the editor's classes.
template <class Form>
Form& FormOf(HWND wnd) {
  return *dynamic_cast<Form*>(ui::Window::FromHandle(wnd));
}

class EditFileParamsProbe {
public:
  explicit EditFileParamsProbe(HWND wnd) : form_(FormOf<TfrmEditFileParams>(wnd)) {}
  HWND Handle() const { return form_.Handle(); }
  // btnNow, btnClearTime, btnUpdate, btnCancel.
  const ui::SpeedButton& Button(std::wstring_view name) const { return form_.Button(name); }
  HWND cbTimes(int row) const { return form_.cbTimes.at(static_cast<std::size_t>(row)); }
  HWND dtDates(int row) const { return form_.dtDates.at(static_cast<std::size_t>(row)); }
  pw::TkwTimeEdit& edTimes(int row) const { return *form_.edTimes.at(static_cast<std::size_t>(row)); }
  HWND cbSynchronize() const { return form_.cbSynchronize; }
  HWND cbModify() const { return form_.cbModify; }
  HWND cbReadOnly() const { return form_.cbReadOnly; }
  HWND cbHidden() const { return form_.cbHidden; }
  HWND cbSystem() const { return form_.cbSystem; }
  HWND cbArchive() const { return form_.cbArchive; }
  // The "Apply to" list; nullptr when the dialog offers no scope.
  HWND cbScope() const { return form_.offersScope_ ? form_.Scope.List() : nullptr; }
  // A checked row's date-time as shown; 0 for an unchecked one.
  double RowDateTime(int row) const { return form_.GetRowDateTime(row); }

private:
  const TfrmEditFileParams& form_;
};

class TimeToolProbe {
public:
  explicit TimeToolProbe(HWND wnd) : form_(FormOf<TfrmTimeTool>(wnd)) {}
  HWND Handle() const { return form_.Handle(); }
  HWND btnOK() const { return form_.btnOK; }
  HWND btnCancel() const { return form_.btnCancel; }
  // Created, modified, accessed.
  HWND cbFields(int field) const { return form_.cbFields.at(static_cast<std::size_t>(field)); }
  HWND cbScope() const { return form_.Scope.List(); }
  // Shift Times: later, earlier, and the parts of the offset from days (0) to milliseconds (4).
  HWND rbLater() const { return Shift().rbLater; }
  HWND rbEarlier() const { return Shift().rbEarlier; }
  HWND edParts(int part) const { return Shift().edParts.at(static_cast<std::size_t>(part)); }
  // Copy Times From: the reference's path and what was read of it.
  HWND edReference() const { return Copy().edReference; }
  HWND lblStamps() const { return Copy().lblStamps; }
  // Restore Times: the attributes too.
  HWND cbAttributes() const { return dynamic_cast<const TfrmRestoreTimes&>(form_).cbAttributes; }
  // Times From Content: the sources and the zone.
  HWND rbTaken() const { return Content().rbTaken; }
  HWND rbName() const { return Content().rbName; }
  HWND rbSidecar() const { return Content().rbSidecar; }
  HWND rbNewest() const { return Content().rbNewest; }
  HWND cbCountFolders() const { return Content().cbCountFolders; }
  HWND rbComputerZone() const { return Content().rbComputerZone; }
  HWND rbFixedOffset() const { return Content().rbFixedOffset; }
  HWND edOffset() const { return Content().edOffset; }
  // Set the Clock Right: the reference and when it was really taken.
  HWND cbReference() const { return dynamic_cast<const TfrmSetClockRight&>(form_).cbReference; }
  HWND edReal() const { return dynamic_cast<const TfrmSetClockRight&>(form_).edReal; }

private:
  const TfrmShiftTimes& Shift() const { return dynamic_cast<const TfrmShiftTimes&>(form_); }
  const TfrmCopyTimes& Copy() const { return dynamic_cast<const TfrmCopyTimes&>(form_); }
  const TfrmTimesFromContent& Content() const { return dynamic_cast<const TfrmTimesFromContent&>(form_); }
  const TfrmTimeTool& form_;
};

class ProgressProbe {
public:
  explicit ProgressProbe(HWND wnd) : form_(FormOf<TfrmProgress>(wnd)) {}
  HWND lblStatus() const { return form_.lblStatus; }
  HWND pbProgress() const { return form_.pbProgress; }
  HWND btnCancel() const { return form_.btnCancel; }

private:
  const TfrmProgress& form_;
};

class PreviewProbe {
public:
  explicit PreviewProbe(HWND wnd) : form_(FormOf<TfrmPreview>(wnd)) {}
  HWND lblSummary() const { return form_.lblSummary; }
  const ui::ListView& lvEntries() const { return form_.lvEntries; }
  HWND btnApply() const { return form_.btnApply; }
  HWND btnCancel() const { return form_.btnCancel; }

private:
  const TfrmPreview& form_;
};
