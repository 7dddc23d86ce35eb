#include "window/win32/win32_progress_window.h"

#include <cmath>

#include "window/design.h"
#include "window/win32/resources.h"
#include "window/win32/screen_text.h"

namespace window {

namespace {

constexpr char kFormClass[] = "KorvaneProgressWindow";
// A fixed frame: the controls never move, so the window neither resizes nor maximises.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kEditFrame = WS_EX_CLIENTEDGE;

HINSTANCE Instance() {
  return GetModuleHandleA(nullptr);
}

HICON ApplicationIcon(int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  return static_cast<HICON>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(KORVANE_ICON), IMAGE_ICON, size, size, LR_SHARED));
}

void RegisterFormClass(WNDPROC procedure) {
  WNDCLASSEXA formClass{};
  formClass.cbSize = sizeof formClass;
  if (GetClassInfoExA(Instance(), kFormClass, &formClass) != 0) {
    return;
  }
  formClass.lpfnWndProc = procedure;
  formClass.hInstance = Instance();
  formClass.hIcon = ApplicationIcon(SM_CXICON);
  formClass.hIconSm = ApplicationIcon(SM_CXSMICON);
  formClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  formClass.lpszClassName = kFormClass;
  RegisterClassExA(&formClass);
}

HFONT BannerFont() {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int height = -static_cast<int>(std::lround(design::kLabel2PointSize * pixelsPerInch / 72));
  return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     VARIABLE_PITCH | FF_SWISS, design::kLabel2Font);
}

// The controls hold UTF-16, so that every name shows as it is.
HWND Child(HWND form, Win32ControlId id, const wchar_t* className, const char* text, DWORD style,
           DWORD extendedStyle, const design::Place& place, HGDIOBJ font) {
  const int t = design::kTwipsPerPixel;
  HWND control =
      CreateWindowExW(extendedStyle, className, ScreenWide(text).c_str(), WS_CHILD | style,
                      place.left / t, place.top / t, place.width / t, place.height / t, form,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void AddItem(HWND list, const std::string& item) {
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ScreenWide(item).c_str()));
}

}  // namespace

struct Win32ProgressWindow::Controls {
  ~Controls() {
    if (form != nullptr) {
      DestroyWindow(form);
    }
    if (bannerFont != nullptr) {
      DeleteObject(bannerFont);
    }
  }

  HWND form = nullptr;
  HWND list1 = nullptr;
  HWND command1 = nullptr;
  HWND text3 = nullptr;
  HWND text2 = nullptr;
  HWND fileZ1 = nullptr;
  HWND text1 = nullptr;
  HWND label2 = nullptr;
  HFONT bannerFont = nullptr;
};

Win32ProgressWindow::Win32ProgressWindow(platform::FileSystem& fileSystem)
    : WindowState(fileSystem), text1_([this] { Load(); }) {}

Win32ProgressWindow::~Win32ProgressWindow() {
  Unload();
}

bool Win32ProgressWindow::CreateControls() {
  RegisterFormClass(FormProcedure);
  RECT frame{0, 0, design::kClientWidth / design::kTwipsPerPixel,
             design::kClientHeight / design::kTwipsPerPixel};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);

  auto controls = std::make_unique<Controls>();
  // Without a window system to draw on, the form and its controls are missing: every step on them
  // is skipped and the log box still keeps its text.
  controls->form = CreateWindowExA(0, kFormClass, design::kCaption, kFormStyle, CW_USEDEFAULT,
                                   CW_USEDEFAULT, frame.right - frame.left,
                                   frame.bottom - frame.top, nullptr, nullptr, Instance(), this);
  HWND form = controls->form;
  formCreated_ = form != nullptr;
  const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  const DWORD readOut = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY;
  const DWORD list = WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT;

  // Created in the order of the design, which is also the order of the Tab key.
  controls->list1 = Child(form, kList1Id, L"LISTBOX", "", list, 0, design::kList1Place, font);
  controls->command1 = Child(form, kCommand1Id, L"BUTTON", design::kCommand1,
                             WS_TABSTOP | BS_PUSHBUTTON, 0, design::kCommand1Place, font);
  controls->text3 = Child(form, kText3Id, L"EDIT", design::kText3, readOut, kEditFrame,
                          design::kText3Place, font);
  controls->text2 = Child(form, kText2Id, L"EDIT", design::kText2, readOut, kEditFrame,
                          design::kText2Place, font);
  controls->fileZ1 = Child(form, kFileZ1Id, L"LISTBOX", "", list, 0, design::kFileZ1Place, font);
  // Read-only, so that what is shown is always what the driver wrote and will save.
  controls->text1 =
      Child(form, kText1Id, L"EDIT", "",
            WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
            kEditFrame, design::kText1Place, font);
  controls->bannerFont = BannerFont();
  controls->label2 = Child(form, kLabel2Id, L"STATIC", design::kLabel2, SS_LEFT, 0,
                           design::kLabel2Place, controls->bannerFont);
  Child(form, kLabel1DirectoryId, L"STATIC", design::kLabel1Directory, WS_VISIBLE | SS_LEFT, 0,
        design::kLabel1DirectoryPlace, font);
  Child(form, kLabel1CountId, L"STATIC", design::kLabel1Count, WS_VISIBLE | SS_LEFT, 0,
        design::kLabel1CountPlace, font);

  text1_.Attach(controls->text1);
  controls_ = std::move(controls);
  return form != nullptr;
}

void Win32ProgressWindow::DestroyControls() {
  controls_.reset();
}

void Win32ProgressWindow::Draw(Control control) {
  const Controls& controls = *controls_;
  switch (control) {
    case Control::Form:
      text1_.Present();
      ShowWindow(controls.form, SW_SHOW);
      UpdateWindow(controls.form);
      // The log box scrolls its caret into view only once it can be seen.
      text1_.ScrollCaretIntoView();
      break;
    case Control::Text2:
      SetWindowTextW(controls.text2, ScreenWide(Text2()).c_str());
      break;
    case Control::Text3:
      SetWindowTextW(controls.text3, ScreenWide(Text3()).c_str());
      break;
    case Control::List1:
      AddItem(controls.list1, List1Items().back());
      break;
    case Control::FileZ1:
      SendMessageW(controls.fileZ1, LB_RESETCONTENT, 0, 0);
      for (const std::string& name : FileZ1().names) {
        AddItem(controls.fileZ1, name);
      }
      break;
    case Control::Label2:
      ShowWindow(controls.label2, Label2Visible() ? SW_SHOW : SW_HIDE);
      break;
    case Control::Command1:
      ShowWindow(controls.command1, Command1Visible() ? SW_SHOW : SW_HIDE);
      // Done shows after a failed run: it takes the keyboard focus and, as the default button
      // (see DM_GETDEFID), Return presses it.
      SendMessageA(controls.command1, BM_SETSTYLE,
                   Command1Visible() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
      if (Command1Visible()) {
        SetFocus(controls.command1);
      }
      break;
  }
}

void Win32ProgressWindow::Refresh() {
  Load();
  text1_.Present();
  // Without a form there is nothing to draw (a null window would mean the whole screen).
  if (controls_->form != nullptr) {
    RedrawWindow(controls_->form, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void Win32ProgressWindow::DoEvents() {
  text1_.Present();
  HandleQueuedMessages();
  if (MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(kIdleWaitMs), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) {
    HandleQueuedMessages();
  }
}

HWND Win32ProgressWindow::Form() const {
  return controls_ ? controls_->form : nullptr;
}

LRESULT CALLBACK Win32ProgressWindow::FormProcedure(HWND form, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* window = reinterpret_cast<Win32ProgressWindow*>(GetWindowLongPtrA(form, GWLP_USERDATA));
  if (window == nullptr) {
    return DefWindowProcA(form, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(form, GWLP_USERDATA, 0);
  }
  return window->Handle(form, message, wParam, lParam);
}

LRESULT Win32ProgressWindow::Handle(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCommand1Id && HIWORD(wParam) == BN_CLICKED) {
        DonePressed = true;
        return 0;
      }
      break;
    case DM_GETDEFID:
      // Asked by the dialog keys when Return is pressed.
      return Command1Visible() ? MAKELRESULT(kCommand1Id, DC_HASDEFID) : 0;
    case WM_CLOSE:
      // The frame's close box only hides the window; the driver decides when it goes.
      ShowWindow(form, SW_HIDE);
      ClosedByFrame();
      return 0;
    case WM_CTLCOLORSTATIC: {
      // Read-only boxes and labels are drawn like the system's windows, the banner in red.
      auto* dc = reinterpret_cast<HDC>(wParam);
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kLabel2Id) {
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    default:
      break;
  }
  return DefWindowProcA(form, message, wParam, lParam);
}

void Win32ProgressWindow::HandleQueuedMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
    if (message.message == WM_QUIT) {
      // Left for whoever runs the program's own message loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    // Escape means nothing here; a multi-line edit box would take it as closing the window.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      continue;
    }
    HWND form = Form();
    // The dialog keys: Tab between the controls, Alt+D for Done, Return for the default button.
    if (form != nullptr && IsDialogMessageA(form, &message) != 0) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace window
