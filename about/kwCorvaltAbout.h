#pragma once
// The product box: the product's name in engraved letters with the program's version below it,
// the maker's web and mail addresses as links that the shell opens, and the maker's postal
// address. Fixed in size, shown modally.
#include <windows.h>

#include <string>

#include "ui/Accessible.h"
#include "ui/Panel.h"
#include "ui/Pictures.h"
#include "ui/Form.h"
#include "ui/Scoped.h"
#include "ui/Subclass.h"

class AboutProbe;

class TfrmAbout : public ui::Form {
public:
  // The outer size at 96 dots per inch; the box is scaled to its DPI.
  static constexpr int kWidth = 358, kHeight = 325;

  TfrmAbout() = default;
  ~TfrmAbout() override;

  // Makes the box, hidden, with its controls (FormCreate runs inside). Its window belongs to the
  // thread's active window, so that it stays in front of the window it was opened from.
  bool Create();
  void SetCaption(const std::wstring& caption) const;
  // The outer size at the box's DPI.
  SIZE Size() const;
  // Centres the box on the screen and shows it while every other window of the thread is
  // disabled; returns when it is closed: IDOK from OK or Enter, IDCANCEL from Esc or the close box.
  int ShowModal();

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The fonts and pictures for the box's DPI; its size is its own at any place it is given.
  void ApplyDpi(UINT oldDpi) override;
  void ArrangeControls() override;

private:
  friend class AboutProbe;

  // Events.
  void FormCreate();
  void LabelWebClick();
  void LabelMailClick();
  void btnOKClick();

  void CreateControls();
  HWND CreateLabel(HWND parent, DWORD style, const std::wstring& text) const;
  void ApplyFonts();
  void LoadPictures();
  void DrawEngraved(const DRAWITEMSTRUCT& dis) const;
  void DrawPicture(const DRAWITEMSTRUCT& dis, HBITMAP picture) const;
  void OpenWithShell(const std::wstring& target) const;
  // A label that opens its address: reached by Tab, opened by Enter or Space, read as a link.
  struct Link {
    ui::Subclass hook;
    ui::AccessibleControl access;
  };
  void MakeLink(HWND label, Link& link, void (TfrmAbout::*click)());

  // Messages, one handler each.
  void OnCreate();
  void OnCommand(WPARAM wp, LPARAM lp);
  void OnDrawItem(const DRAWITEMSTRUCT& dis) const;
  LRESULT OnCtlColorStatic(HDC dc, HWND control) const;
  bool OnSetCursor(HWND wnd, UINT hit) const;
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  void OnWindowPosChanging(WINDOWPOS& pos) const;
  void OnActivate(WPARAM wp) const;

  // Controls.
  ui::Panel pnlImage, pnlContact;
  HWND lblProduct = nullptr, lblVersion = nullptr;
  HWND imWeb = nullptr, LabelWeb = nullptr;
  HWND imMail = nullptr, LabelMail = nullptr;
  HWND imPost = nullptr, lblAddress = nullptr;
  HWND btnOK = nullptr;
  Link webLink_, mailLink_;

  std::wstring webAddress_, mailAddress_;
  ui::ScopedFont font_, productFont_, linkFont_, buttonFont_;
  ui::Picture webPicture_, mailPicture_, postPicture_;
};

// What tests may read of the box: its controls by the names of its layout.
class AboutProbe {
public:
  explicit AboutProbe(const TfrmAbout& form) : form_(form) {}
  HWND btnOK() const { return form_.btnOK; }
  HWND LabelWeb() const { return form_.LabelWeb; }
  HWND LabelMail() const { return form_.LabelMail; }
  HWND lblAddress() const { return form_.lblAddress; }
  HWND lblVersion() const { return form_.lblVersion; }

private:
  const TfrmAbout& form_;
};
