#pragma once
// What the batch time tools' windows share: under the tool's own controls, which of the three
// times it changes, how far into the selected folders it reaches (offered when the selection holds
// folders), and the button that confirms it beside Cancel. Esc and the close box cancel.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "timetools/ScopeBox.h"
#include "timetools/core/TimeBatch.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/Scoped.h"

class TimeToolProbe;

class TfrmTimeTool : public ui::Form {
public:
  // Shows the window modally: IDOK when confirmed, IDCANCEL otherwise.
  int ShowModal();
  pw::TimeFields Fields() const;
  pw::Scope Reach() const { return Scope.Reach(); }

protected:
  // `topHeight` is the room the tool's own controls take, at 96 DPI. A tool that does not choose
  // times (a save takes them all) shows no Times row.
  TfrmTimeTool(const wchar_t* okCaption, int topHeight, bool offersScope, bool choosesTimes = true);
  ~TfrmTimeTool() override;
  // Made by the tool's own constructor, at its end: the window's creation asks for its controls.
  void CreateToolWindow(HWND owner, const wchar_t* className, const wchar_t* title);

  virtual void CreateTop() = 0;
  virtual void PlaceTop() = 0;
  // Whether the tool can run as its controls stand (a reference it can read, an offset not 0).
  virtual bool Ready() const = 0;
  virtual void OnToolCommand(HWND from, WORD code) = 0;
  // Enables the confirming button when the tool is ready and something is chosen to change.
  void UpdateOK() const;
  // Whether something is chosen to change: a time, by default.
  virtual bool Chosen() const { return Fields().Any(); }

  HWND AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id = 0);
  void PlaceScaled(HWND control, const ui::Bounds& at) const { ui::Place(control, at, dpi_); }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyDpi(UINT oldDpi) override;
  void ArrangeControls() override;

private:
  friend class TimeToolProbe;
  void CreateControls();

  // Controls.
  HWND lblTimes = nullptr;
  std::array<HWND, 3> cbFields{};  // created, modified, accessed
  TScopeBox Scope;
  HWND btnOK = nullptr, btnCancel = nullptr;

  const wchar_t* okCaption_;
  int topHeight_;
  bool offersScope_;
  bool choosesTimes_;
  std::vector<HWND> controls_;
};

// The window of "Shift Times": an offset (later or earlier, days to milliseconds) that moves the
// chosen times of each entry from its own stamps.
class TfrmShiftTimes : public TfrmTimeTool {
public:
  TfrmShiftTimes(HWND owner, bool offersScope);
  ~TfrmShiftTimes() override;
  pw::TimeOffset Offset() const;

protected:
  void CreateTop() override;
  void PlaceTop() override;
  bool Ready() const override;
  void OnToolCommand(HWND from, WORD code) override;

private:
  friend class TimeToolProbe;
  HWND rbLater = nullptr, rbEarlier = nullptr;
  // days, hours, minutes, seconds, milliseconds, each with its up-down buttons
  std::array<HWND, 5> edParts{}, udParts{}, lblParts{};
};

// The window of "Copy Times From": the reference file or folder, typed or picked in the standard
// open dialog, whose stamps go to the chosen times of every entry.
class TfrmCopyTimes : public TfrmTimeTool {
public:
  // The reference is read this long after its path was last changed, when this timer fires.
  static constexpr UINT_PTR kReadTimer = 1;
  static constexpr UINT kReadPauseMs = 300;

  TfrmCopyTimes(HWND owner, bool offersScope);
  ~TfrmCopyTimes() override;
  // The reference's stamps, when its path names something that can be read.
  const std::optional<pw::EntryInfo>& Reference() const { return reference_; }
  std::wstring ReferencePath() const;

protected:
  // A window that takes a file or folder to work from, as this one does, with its own words.
  struct Role {
    const wchar_t* Title;
    const wchar_t* OkCaption;
    const wchar_t* Label;   // before the path
    const wchar_t* Prompt;  // while no path is typed
    int TopHeight;          // at 96 DPI
  };
  // For a window of its own kind, whose constructor makes the window.
  TfrmCopyTimes(bool offersScope, const Role& role);
  // What the window says of the reference once it is read.
  virtual std::wstring Describe(const pw::EntryInfo& reference) const;

  void CreateTop() override;
  void PlaceTop() override;
  bool Ready() const override;
  void OnToolCommand(HWND from, WORD code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  friend class TimeToolProbe;
  struct Answer;
  // The reference is read a moment after the path was last changed, away from the window's
  // thread: a path on a slow share must not freeze the window at each character typed.
  void ReferenceChanged();
  void ReadReference();
  void TakeReference(unsigned asked);
  void PickFile();
  void PickFolder();

  HWND lblReference = nullptr, edReference = nullptr, btnFile = nullptr, btnFolder = nullptr;
  HWND lblStamps = nullptr;

  Role role_;
  std::optional<pw::EntryInfo> reference_;
  unsigned asked_ = 0;  // the reads asked for; only the latest one's answer counts
  bool reading_ = false;
  std::shared_ptr<Answer> answer_;
};

// The window of "Restore Times": a saved times file (each row gives its entry here the times
// saved) or another folder (each entry gets the times of the entry at the same place there), which
// of the three times, and whether the four attributes come back too.
class TfrmRestoreTimes : public TfrmCopyTimes {
public:
  TfrmRestoreTimes(HWND owner, bool offersScope);
  ~TfrmRestoreTimes() override;
  bool SourceIsFolder() const;
  bool Attributes() const;

protected:
  void CreateTop() override;
  void PlaceTop() override;
  std::wstring Describe(const pw::EntryInfo& reference) const override;
  bool Chosen() const override { return Fields().Any() || Attributes(); }

private:
  friend class TimeToolProbe;
  HWND cbAttributes = nullptr;
};

// A tool whose own part is one line saying what it does: it asks only what every tool asks.
class TfrmPlainTool : public TfrmTimeTool {
public:
  ~TfrmPlainTool() override;

protected:
  TfrmPlainTool(HWND owner, bool offersScope, const wchar_t* okCaption, bool choosesTimes, const wchar_t* className,
                const wchar_t* title, const wchar_t* text);
  void CreateTop() override;
  void PlaceTop() override;
  bool Ready() const override { return true; }
  void OnToolCommand(HWND, WORD) override {}

private:
  const wchar_t* text_;
  HWND lblWhat = nullptr;
};

// The window of "Save Times": how far the save reaches into the selected folders, before the file
// is named in the standard save dialog.
class TfrmSaveTimes : public TfrmPlainTool {
public:
  TfrmSaveTimes(HWND owner, bool offersScope);
};

// The window of "Set to Now": which times every entry gets the moment it is confirmed, the same
// instant for all.
class TfrmSetNow : public TfrmPlainTool {
public:
  TfrmSetNow(HWND owner, bool offersScope);
};
