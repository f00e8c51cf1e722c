// Message boxes owned by the open module window (or by no window).
#include <windows.h>

#include <string>

#include "base/message_box_reporter.h"
#include "base/process_state.h"

namespace qv {

namespace {

UINT IconStyle(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return MB_ICONINFORMATION;
    case BoxIcon::Exclamation: return MB_ICONEXCLAMATION;
    case BoxIcon::Stop: return MB_ICONSTOP;
    case BoxIcon::Question: return MB_ICONQUESTION;
    case BoxIcon::None: break;
  }
  return 0;
}

UINT ButtonStyle(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::OkCancel: return MB_OKCANCEL;
    case BoxButtons::YesNo: return MB_YESNO;
    case BoxButtons::YesNoCancel: return MB_YESNOCANCEL;
    case BoxButtons::RetryCancel: return MB_RETRYCANCEL;
    case BoxButtons::Ok: break;
  }
  return MB_OK;
}

}  // namespace

BoxAnswer MessageBoxReporter::Show(std::string_view text, std::string_view caption, BoxIcon icon,
                                   BoxButtons buttons) {
  HWND owner = owner_ == Owner::ModuleWindow ? ModuleWindow : nullptr;
  std::string t(text), c(caption);
  int answer = MessageBoxA(owner, t.c_str(), c.c_str(), IconStyle(icon) | ButtonStyle(buttons));
  switch (answer) {
    case IDCANCEL: return BoxAnswer::Cancel;
    case IDRETRY: return BoxAnswer::Retry;
    case IDYES: return BoxAnswer::Yes;
    case IDNO: return BoxAnswer::No;
    default: return BoxAnswer::Ok;
  }
}

}  // namespace qv
