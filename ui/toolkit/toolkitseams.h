#pragma once
// What the toolkit reaches of windows that are built on top of it: the main
// window (centring, the show-information action, the image preview's radius
// text) and the information dock. Those windows implement the interfaces and
// register themselves; while none is registered the toolkit skips the call.

#include <QRect>
#include <QString>

class IToolkitMainWindow {
public:
    virtual ~IToolkitMainWindow() = default;
    // The main window's geometry; dialogs centre on it.
    virtual QRect MainWindowGeometry() const = 0;
    // Check state of the show-information action.
    virtual bool IsShowInfoActChecked() const = 0;
    // Sets the action's check state with its signals blocked, then shows or
    // hides the information dock to match.
    virtual void SetShowInfoActChecked(bool checked) = 0;
    // Sets the action's check state with its signals not blocked.
    virtual void showInfoClickedExternal(bool checked) = 0;
    // The central image preview's radius text.
    virtual void SetPreviewRadiusText(const QString& text) = 0;
};

class IInfoDock {
public:
    virtual ~IInfoDock() = default;
    // HTML of the dock's read-only browser.
    virtual QString InfoHtml() const = 0;
    virtual void SetInfoDockVisible(bool visible) = 0;
    // Stores the HTML as the dock's current text and shows it.
    virtual void UpdateText(const QString& html) = 0;
    // The text last given to UpdateText. The options dialog keeps it while it
    // shows its own page texts in the dock and gives it back when it closes.
    virtual QString StoredText() const { return InfoHtml(); }
};

class ToolkitSeams {
public:
    static void SetMainWindow(IToolkitMainWindow* window);
    static IToolkitMainWindow* MainWindow();
    static void SetInfoDock(IInfoDock* dock);
    static IInfoDock* InfoDock();
};
