#include "plugin/Common.h"

#include "plugin/DialogUtilities.h"
#include "plugin/Export.h"
#include "plugin/Helpers.h"
#include "plugin/PIUSuites.h"
#include "plugin/PIUtilities.h"
#include "plugin/System.h"

#include <new>

namespace {

constexpr int32 kMaxDataLimit = 0x80000;

ModalFilterUPP fpFILTER_PROC = nullptr;

// What the about box's filter finds in the dialog window's reference value.
struct SAboutFilterData {
    SRefCon savedRefCon;
    ProcessEventProc eventProc;
};

extern "C" void CB_InitGlobals(Ptr block)
{
    SGlobals* globals = reinterpret_cast<SGlobals*>(block);
    if (globals->result != nullptr)
        *globals->result = eErrNone;
    globals->fileDescriptor = -1;
    globals->buffer = nullptr;
    for (char& c : globals->path)
        c = cTRAILING_ZERO;
}

extern "C" Boolean CB_AboutDlgFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (dialog == nullptr || event == nullptr || item == nullptr)
        return false;
    WindowRef window = GetDialogWindow(dialog);
    const auto* data = reinterpret_cast<const SAboutFilterData*>(GetWRefCon(window));
    const ProcessEventProc eventProc = data != nullptr ? data->eventProc : nullptr;

    if (event->what == mouseDown) {
        WindowRef hit = nullptr;
        if (FindWindow(event->where, &hit) == inDrag && hit == window) {
            Rect bounds;
            GetRegionBounds(GetGrayRgn(), &bounds);
            InsetRect(&bounds, 4, 4);
            DragWindow(window, event->where, &bounds);
            event->what = nullEvent;
        }
    }
    if ((event->what == updateEvt || event->what == activateEvt) &&
        reinterpret_cast<WindowRef>(event->message) != window && eventProc != nullptr)
        eventProc(event);
    if (event->what == nullEvent && eventProc != nullptr)
        eventProc(event);

    GrafPtr previous = nullptr;
    GetPort(&previous);
    SetPortDialogPort(dialog);
    const Boolean answer = StdFilterProc(dialog, event, item);
    SetPort(previous);
    return answer;
}

// The host's event procedure, or none when the UI hooks suite cannot be had:
// the about box then runs without passing events to the host.
ProcessEventProc HostEventProc()
{
    try {
        return sPSUIHooks->processEvent;
    } catch (...) {
        return nullptr;
    }
}

} // namespace

void PluginMain(int16 selector, void* record, intptr_t* data, int16* result)
{
    MainProc(static_cast<int16>(selector), record, data, result);
}

void MainProc(int16 selector, void* record, intptr_t* data, int16* result)
{
    if (record == nullptr || data == nullptr || result == nullptr)
        return;
    SGlobals* globals = nullptr;
    ExportRecord* exportRecord = nullptr;
    bool locked = false;
    auto unlock = [&]() {
        if (locked && *data != 0) {
            locked = false;
            HostUnlockHandle(exportRecord->handleProcs, reinterpret_cast<Handle>(*data));
        }
    };
    // Common cleanup of every failure that was thrown: close the file, destroy
    // the buffer, end the export, unlock, and report the code.
    auto fail = [&](int16 code) {
        try {
            if (globals != nullptr) {
                int descriptor = globals->fileDescriptor;
                _sys::CloseFile(descriptor);
                globals->fileDescriptor = descriptor;
                _exp::DestroyBuffer(globals->buffer);
                SetExportFinished(globals);
            }
            unlock();
        } catch (...) {
        }
        *result = code;
    };

    try {
        if (selector == exportSelectorAbout) {
            AboutRecord* about = static_cast<AboutRecord*>(record);
            sSPBasic = about->sSPBasic;
            *result = ShowAboutDlg(about);
            return;
        }
        exportRecord = static_cast<ExportRecord*>(record);
        sSPBasic = exportRecord->sSPBasic;
        *result = Allocate(&globals, exportRecord, data, result);
        if (globals == nullptr)
            return;
        locked = true;
        switch (selector) {
        case exportSelectorStart:
            DispatchExportStart(globals);
            break;
        case exportSelectorContinue:
            DispatchExportContinue(globals);
            break;
        case exportSelectorFinish:
            DispatchExportFinish(globals);
            break;
        case exportSelectorPrepare:
            DispatchExportPrepare(globals);
            break;
        default:
            break;
        }
        unlock();
    } catch (EError error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(eErrMemFull);
    } catch (...) {
        fail(kErrUnexpectedException);
    }
}

int16 Allocate(SGlobals** globals, ExportRecord* record, intptr_t* data, int16* result)
{
    _hlp::NotNull(globals);
    _hlp::NotNull(record);
    *globals = reinterpret_cast<SGlobals*>(
        AllocateGlobals(result, record, record->handleProcs, sizeof(SGlobals), data, CB_InitGlobals));
    return *globals != nullptr ? eErrNone : eErrMemFull;
}

bool CheckStore(SGlobals* globals, int16 code)
{
    if (code == eErrNone)
        return true;
    _hlp::NotNull(globals);
    int16* result = _hlp::NotNull(globals->result);
    if (*result == eErrNone)
        *result = code;
    return false;
}

int16 CheckEnvironment(const ExportRecord* record)
{
    _hlp::NotNull(record);
    if (record->HostSupports32BitCoordinates != 1)
        return eErrParam;
    return CheckMode(record);
}

int16 CheckMode(const ExportRecord* record)
{
    return _exp::GetInputMode(record) == 0 ? eErrBadMode : eErrNone;
}

void DispatchExportPrepare(SGlobals* globals)
{
    ExportRecord* record = _hlp::NotNull(_hlp::NotNull(globals)->record);
    if (!CheckStore(globals, CheckEnvironment(record)))
        return;
    record->maxData = _hlp::MathMin(record->maxData, kMaxDataLimit);
    record->PluginUsing32BitCoordinates = 1;
}

void DispatchExportStart(SGlobals* globals)
{
    _hlp::NotNull(globals);
    bool ok = CheckStore(globals, SetExportFile(globals));
    if (ok)
        ok = CheckStore(globals, _exp::OpenExportFile(globals));
    if (ok) {
        const bool exported = CheckStore(globals, _exp::ExportImage(globals));
        const bool closed = CheckStore(globals, _exp::CloseExportFile(globals));
        if (exported && closed)
            CheckStore(globals, _sys::StartApplication(globals->path));
    }
    CheckStore(globals, SetExportFinished(globals));
}

void DispatchExportContinue(SGlobals* globals)
{
    CheckStore(globals, SetExportFinished(globals));
    CheckStore(globals, eErrParam);
}

void DispatchExportFinish(SGlobals*)
{
}

int16 SetExportFinished(SGlobals* globals)
{
    if (globals == nullptr || globals->record == nullptr)
        return eErrParam;
    _hlp::SetRect(globals->record->theRect32, 0, 0, 0, 0);
    return eErrNone;
}

void MoveableModalAboutDlg(DialogRef dialog, ProcessEventProc eventProc, DialogItemIndex* item)
{
    _hlp::NotNull(dialog);
    _hlp::NotNull(item);
    WindowRef window = GetDialogWindow(dialog);
    SAboutFilterData data{GetWRefCon(window), eventProc};
    SetWRefCon(window, reinterpret_cast<SRefCon>(&data));
    fpFILTER_PROC = NewModalFilterUPP(CB_AboutDlgFilter);
    ModalDialog(fpFILTER_PROC, item);
    DisposeModalFilterUPP(fpFILTER_PROC);
    fpFILTER_PROC = nullptr;
    SetWRefCon(window, data.savedRefCon);
}

int16 ShowAboutDlg(AboutRecord* about)
{
    _hlp::NotNull(about);
    StringHandle text = GetString(kAboutStringId);
    Handle templ = GetResource(kResTypeDLOG, kAboutDialogId);
    if (text == nullptr || templ == nullptr) {
        if (text != nullptr)
            ReleaseResource(reinterpret_cast<Handle>(text));
        if (templ != nullptr)
            ReleaseResource(templ);
        _hlp::ThrowParamMissed();
    }
    HNoPurge(templ);
    CenterDialog(templ);
    // The dialog is made from the loaded (centred) template.
    DialogRef dialog = GetNewDialog(kAboutDialogId, nullptr, kWindowInFront);
    if (dialog != nullptr) {
        ParamText(*text, nullptr, nullptr, nullptr);
        SetDialogDefaultItem(dialog, 1);
        SetDialogCancelItem(dialog, 1);
        const ProcessEventProc eventProc = HostEventProc();
        DialogItemIndex item = 0;
        do {
            MoveableModalAboutDlg(dialog, eventProc, &item);
        } while (item != 1);
        DisposeDialog(dialog);
    }
    ReleaseResource(reinterpret_cast<Handle>(text));
    HPurge(templ);
    ReleaseResource(templ);
    return eErrNone;
}
