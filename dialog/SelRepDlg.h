#pragma once
// The settings dialog. Until its pages are built it is a plain window that says where the
// settings live and closes normally.
#include "toolkit/Window.h"

class TSelRepDlg : public tk::Window {
  public:
    bool CreateForm();
    void FormCreate();

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    HWND okButton_ = nullptr;
    HWND label_ = nullptr;
};
