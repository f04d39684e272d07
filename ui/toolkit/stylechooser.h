#pragma once
// The style choice: the eight style actions, the "Styles..." sub-menu and the
// reaction to a choice (store it in "stylecode.ini" and re-theme the windows
// when it changed). The main window owns one chooser and forwards its
// createActions / createMenus / setStyleCodeMenuActTextIcon / setStyleSheetFromCSS
// and styleSheetActClicked to it; the style itself lives in CStyleEngine.

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QWidget;

// The style colour dialog of the free choice, as the chooser uses it.
class IStyleColorDialog {
public:
    virtual ~IStyleColorDialog() = default;
    // Sets the confirmed and working colour (0xRRGGBB) and border flag.
    virtual void SetData(int colour, bool border) = 0;
    // Runs the dialog modally (through _gui::ExecModal).
    virtual int exec() = 0;
    virtual int ConfirmedColor() const = 0;
    virtual bool ConfirmedBorder() const = 0;
};

// The windows that a change of style refreshes, in the order they are called.
class IStyleRefreshHost {
public:
    virtual ~IStyleRefreshHost() = default;
    // The widget that carries the main style sheet (the main window).
    virtual QWidget* StyledMainWindow() = 0;
    // The central image preview rebuilds its frame sheet.
    virtual void RefreshImagePreviewFrame() = 0;
    // HDR stage: redisplay the document and clear the exposure dock's weight
    // colours; post-processing stage: click the selected preset tile again.
    virtual void RefreshPresetsStage() = 0;
    // The post-processing dock rebuilds its dynamic sheets.
    virtual void RefreshPostProcessingDock() = 0;
    virtual void UpdateCompareWindow() = 0;
};

class CStyleChooser : public QObject {
    Q_OBJECT
public:
    static constexpr int kChoiceCount = 8; // seven fixed palettes and the free choice
    static constexpr int kFreeChoice = 7;

    explicit CStyleChooser(IStyleRefreshHost* host, QObject* parent = nullptr);

    // Creates the eight checkable actions (theme icon, translated text, the
    // given parent) and connects them to styleSheetActClicked.
    void CreateActions(QWidget* parent);
    // Adds two separators and the "Styles..." sub-menu with choices 1 to 4 to
    // the view menu, then labels it. Needs CreateActions first.
    QMenu* CreateMenu(QMenu* viewMenu);
    void SetStyleColorDialog(IStyleColorDialog* dialog) { m_pColorDialog = dialog; }

    // Title and icon of the style menu for the current code; check marks.
    void setStyleCodeMenuActTextIcon();
    // Builds and applies the main window's sheet.
    bool setStyleSheetFromCSS();

    QAction* Action(int choice) const;
    QMenu* Menu() const { return m_pMenu; }
    // The choice (0..7) whose stored code is code, or -1.
    static int ChoiceOfCode(int code);

public slots:
    // Reaction to any of the eight actions, told apart by the sender.
    void styleSheetActClicked();

public:
    // The same for a given action (the slot calls it with its sender).
    void ApplyChoice(QAction* action);

private:
    IStyleRefreshHost* m_pHost;
    IStyleColorDialog* m_pColorDialog = nullptr;
    std::array<QAction*, kChoiceCount> m_Actions{};
    QMenu* m_pMenu = nullptr;
};
