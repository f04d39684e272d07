#pragma once
// What the rest of the program reads of the options dialog (the dialog
// itself, HDROptionsWindow, lives with the application in app/): the default
// folders, the external programs, the gamma-view switch and the undo limits,
// read straight from its widgets, and whether the last run applied.

#include <QString>

class QDialog;

class IOptionsWindow {
public:
    // Default folders of the file dialogs.
    enum EPaths { ePATH_PROJECTS = 0, ePATH_SERIES = 1, ePATH_SINGLE = 2, ePATH_RESULTS = 3 };
    // External program entries ("external/editor", "_cs6", "_lr4", "_ele11").
    enum EExternals { eEXTERNAL_EDITOR = 0, eEXTERNAL_EDITOR_CS6 = 1, eEXTERNAL_EDITOR_LR4 = 2, eEXTERNAL_EDITOR_ELE11 = 3 };

    virtual ~IOptionsWindow() = default;

    // The folder of a path entry; the current folder when the entered folder
    // does not exist; empty when the entry is empty.
    virtual QString GetPath(EPaths index) const = 0;
    // The text of an external program entry: an executable (path or name on PATH).
    virtual QString GetExternal(EExternals index) const = 0;
    // The selected external program, 0..3.
    virtual int GetExternalIndex() const = 0;
    // "HDR-Gamma in der Bildanzeige".
    virtual bool IsGammaViewChecked() const = 0;
    // Maximum undo levels: index 0..5 of 1, 5, 10, 20, 50, unlimited.
    virtual int GetUndoMaxAmountIndex() const = 0;
    // Minimum free disk space in gigabytes.
    virtual double GetUndoSafetyGB() const = 0;
    // True when apply ran since the dialog was last shown.
    virtual bool IsApplied() const = 0;
    // Runs the dialog modally (through _gui::ExecModal).
    virtual int Exec() = 0;
    virtual QDialog* Dialog() = 0;
};

// The options dialog, set by its constructor; null before.
extern IOptionsWindow* g_pOptionsWindow;
