#pragma once
// The base of the child controls: a control id, a hint shown as its tooltip, the events a
// form wires once (onClick, onChange, the mouse), an immediate repaint and a movable
// left edge. A control is either drawn by its own class (Paint, double-buffered, optionally
// over whatever its parent shows behind it) or a system control adopted into its object.
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Dib.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Window.h"

namespace tk {

class ToolTips;

// Where and how a child control is made.
struct ControlArgs {
    HWND parent = nullptr;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::wstring text;
    DWORD style = 0; // added to WS_CHILD | WS_VISIBLE
    DWORD exStyle = 0;
    HFONT font = nullptr; // the form's, given before the control measures anything
};

class Control : public Window {
  public:
    using Event = std::function<void()>;
    using MouseEvent = std::function<void(int x, int y)>; // in the control's own pixels

    Event onClick, onChange, onMouseEnter, onMouseLeave;
    MouseEvent onMouseDown, onMouseMove, onMouseUp;

    int Id() const { return Handle() ? GetDlgCtrlID(Handle()) : 0; }
    int Left() const { return Bounds().left; }
    void SetLeft(int left); // repainted at once, old and new place, with no trail
    void SetBounds(int x, int y, int width, int height);
    void Repaint(); // now, not at the next idle turn
    bool Hovered() const { return hovered_; }

    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint); // the tooltip follows
    void AttachToolTips(ToolTips& tips);

    void SetHandCursor(bool hand) { handCursor_ = hand; }

    // Draws the control as it stands into any DC (the screen's or a test's bitmap).
    virtual void Paint(HDC dc) { (void)dc; }
    // A transparent control of our own: its parent can draw it into its own picture.
    bool DrawnOverParent() const { return custom_ && transparent_; }
    // Draws the whole window, frame included, into a DC whose origin is its top-left corner
    // (as WM_PRINT does, which is what it sends unless the class knows better).
    virtual void Print(HDC dc);

  protected:
    // A control of our own class, painted by Paint. Transparent controls are drawn over
    // what their parent shows behind them.
    bool CreateCustom(const wchar_t* className, const ControlArgs& args, bool transparent);
    // A control of a system class (L"LISTBOX", L"BUTTON" ...), adopted.
    bool CreateStandard(const wchar_t* className, const ControlArgs& args);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Keeps the form's tips from showing (ToolTips::Hold), when the control has any.
    void HoldTips(bool held);
    // A left-button press and release over the control.
    virtual void Clicked() { Fire(onClick); }
    static void Fire(const Event& event) {
        if (event) event();
    }

  private:
    void PaintBuffered();
    void TrackHover();
    Dib buffer_; // kept from one paint to the next: a page slide repaints every control often
    bool transparent_ = false;
    bool custom_ = false;
    bool hovered_ = false;
    bool pressed_ = false;
    bool handCursor_ = false;
    std::wstring hint_;
    ToolTips* tips_ = nullptr;
    bool tipAdded_ = false;
};

// BeginPaint and EndPaint for one scope.
class PaintDc : private NonCopyable {
  public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_ = {};
    HDC dc_;
};

// Draws into `dc` (the child's own coordinates) what the parent shows behind the child:
// the parent answers WM_PRINTCLIENT with its background.
void PaintParentBackground(HWND child, HDC dc);

} // namespace tk
