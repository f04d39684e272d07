#include "plugin/DialogUtilities.h"

#include "plugin/PIUtilities.h"

extern "C" {

void CenterRectOnScreen(Rect* r, const Rect* screen)
{
    if (r == nullptr || screen == nullptr)
        return;
    const int screenWidth = screen->right - screen->left;
    const int screenHeight = screen->bottom - screen->top;
    const int width = r->right - r->left;
    const int height = r->bottom - r->top;
    OffsetRect(r, static_cast<int16>(-r->left), static_cast<int16>(-r->top));
    const int horizontal = (screenWidth - width) / 2;
    const int vertical = (screenHeight - height - 20) / 3 + 20;
    OffsetRect(r, static_cast<int16>(horizontal), static_cast<int16>(vertical));
}

void CenterDialog(Handle templ)
{
    if (templ == nullptr || *templ == nullptr)
        return;
    GDHandle device = GetMainDevice();
    if (device == nullptr || *device == nullptr)
        return;
    Rect r = *reinterpret_cast<Rect*>(*templ);
    CenterRectOnScreen(&r, &(*device)->gdRect);
    *reinterpret_cast<Rect*>(*templ) = r;
}

int16 ShowVersionAlert(DialogRef dialog, int16 alertId, int16 stringId, const unsigned char* version1,
                       const unsigned char* version2)
{
    if (alertId == 0)
        return 0;
    Str255 message;
    PIResetString(message);
    if (stringId > 0) {
        StringHandle text = GetString(stringId);
        if (text != nullptr && *text != nullptr) {
            AppendString(message, *text, 1, (*text)[0]);
            ReleaseResource(reinterpret_cast<Handle>(text));
        }
    }
    Handle templ = GetResource(kResTypeALRT, alertId);
    if (templ != nullptr) {
        HNoPurge(templ);
        CenterDialog(templ);
    }
    PIParamText(message, nullptr, version1, version2);
    ParamText(message, nullptr, nullptr, nullptr);
    const int16 item = CautionAlert(alertId, nullptr);
    if (templ != nullptr) {
        HPurge(templ);
        ReleaseResource(templ);
    }
    return item;
}

ModalFilterUPP NewModalFilterUPP(ModalFilterProcPtr proc)
{
    return proc;
}

void DisposeModalFilterUPP(ModalFilterUPP)
{
}

} // extern "C"
