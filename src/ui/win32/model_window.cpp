#include "ui/win32/model_window.h"

#include "ui/win32/window_frame.h"

namespace tintal {

HWND createModelWindow(Window& model, HWND owner, const std::function<void(ControlBinder&)>& build) {
    const WindowFrame frame = createWindowFrame(model, owner);
    build(frame.binder);
    if (model.visible()) ShowWindow(frame.hwnd, SW_SHOW);
    return frame.hwnd;
}

}  // namespace tintal
