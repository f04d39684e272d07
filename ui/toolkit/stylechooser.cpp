#include "ui/toolkit/stylechooser.h"
#include "ui/toolkit/resourceinit.h"

#include "ui/toolkit/styleengine.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QWidget>

namespace {

struct SStyleChoice {
    const char* text;
    const char* icon;
    int code;
    int colour;
    bool border;
};

// Choices 1 to 7 and the free choice (whose code, colour and border come from
// the style colour dialog).
const SStyleChoice kChoices[CStyleChooser::kChoiceCount] = {
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet 1"), "StyleSheet1", 0, 0x635f67, true},
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet 2"), "StyleSheet2", 1, 0x67675f, false},
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet 3"), "StyleSheet3", 2, 0x676767, true},
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet 4"), "StyleSheet4", 3, 0xbfbfbf, false},
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet 5"), "StyleSheet5", 4, 0x5f5f67, true},
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet 6"), "StyleSheet6", 5, 0x6f5f5f, false},
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet 7"), "StyleSheet7", 6, 0x6f675f, true},
    {QT_TRANSLATE_NOOP("HDRMainWindow", "StyleSheet free"), "StyleSheetFree", CStyleEngine::kFreeStyleCode, 0, false},
};

// Choices placed in the style menu.
constexpr int kMenuChoices = 4;

QString trMain(const char* text) { return QCoreApplication::translate("HDRMainWindow", text); }

const char* const kStylesMenuTitle = QT_TRANSLATE_NOOP("HDRMainWindow", "Styles...");

} // namespace

CStyleChooser::CStyleChooser(IStyleRefreshHost* host, QObject* parent) : QObject(parent), m_pHost(host) {}

int CStyleChooser::ChoiceOfCode(int code)
{
    for (int i = 0; i < kChoiceCount; ++i) {
        if (kChoices[i].code == code)
            return i;
    }
    return -1;
}

QAction* CStyleChooser::Action(int choice) const
{
    return choice >= 0 && choice < kChoiceCount ? m_Actions[choice] : nullptr;
}

void CStyleChooser::CreateActions(QWidget* parent)
{
    LumivexInitResources();
    for (int i = 0; i < kChoiceCount; ++i) {
        QAction* action = new QAction(QIcon::fromTheme(QLatin1String(kChoices[i].icon)), trMain(kChoices[i].text), parent);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, &CStyleChooser::styleSheetActClicked);
        m_Actions[i] = action;
    }
}

QMenu* CStyleChooser::CreateMenu(QMenu* viewMenu)
{
    if (!viewMenu)
        return nullptr;
    viewMenu->addSeparator();
    viewMenu->addSeparator();
    m_pMenu = viewMenu->addMenu(QIcon::fromTheme(QStringLiteral("StyleMenu")), trMain(kStylesMenuTitle));
    for (int i = 0; i < kMenuChoices; ++i) {
        if (m_Actions[i])
            m_pMenu->addAction(m_Actions[i]);
    }
    setStyleCodeMenuActTextIcon();
    return m_pMenu;
}

void CStyleChooser::setStyleCodeMenuActTextIcon()
{
    const int current = ChoiceOfCode(CStyleEngine::instance().StyleCode());
    if (current >= 0 && m_pMenu) {
        m_pMenu->setTitle(trMain(kStylesMenuTitle) + QStringLiteral(" (") + trMain(kChoices[current].text) +
                          QStringLiteral(")"));
        m_pMenu->setIcon(QIcon::fromTheme(QLatin1String(kChoices[current].icon)));
    }
    for (int i = 0; i < kChoiceCount; ++i) {
        if (m_Actions[i])
            m_Actions[i]->setChecked(i == current);
    }
}

bool CStyleChooser::setStyleSheetFromCSS()
{
    QWidget* target = m_pHost ? m_pHost->StyledMainWindow() : nullptr;
    return CStyleEngine::instance().SetStyleSheetFromCSS(target);
}

void CStyleChooser::styleSheetActClicked() { ApplyChoice(qobject_cast<QAction*>(sender())); }

void CStyleChooser::ApplyChoice(QAction* action)
{
    CStyleEngine& engine = CStyleEngine::instance();
    const int storedCode = engine.StyleCodeFromFolderSettings();
    const int storedColour = engine.StyleColorFromFolderSettings();
    const bool storedBorder = engine.StyleBorderFromFolderSettings();

    int code = storedCode;
    int colour = storedColour;
    bool border = storedBorder;

    int choice = -1;
    for (int i = 0; i < kChoiceCount; ++i) {
        if (action && m_Actions[i] == action)
            choice = i;
    }
    if (choice >= 0 && choice < kFreeChoice) {
        code = kChoices[choice].code;
        colour = kChoices[choice].colour;
        border = kChoices[choice].border;
    } else if (choice == kFreeChoice && m_pColorDialog) {
        m_pColorDialog->SetData(storedColour, storedBorder);
        m_pColorDialog->exec(); // the result code is not consulted: a discard leaves the data as handed in
        colour = m_pColorDialog->ConfirmedColor();
        border = m_pColorDialog->ConfirmedBorder();
        if (colour != storedColour || border != storedBorder)
            code = CStyleEngine::kFreeStyleCode;
    }

    engine.StyleCodeToFolderSettings(code, colour, border);
    if (code == storedCode && colour == storedColour && border == storedBorder) {
        // Nothing changed; keep the check marks in step with the stored choice.
        setStyleCodeMenuActTextIcon();
        return;
    }

    setStyleCodeMenuActTextIcon();
    setStyleSheetFromCSS();
    if (m_pHost) {
        m_pHost->RefreshImagePreviewFrame();
        m_pHost->RefreshPresetsStage();
        m_pHost->RefreshPostProcessingDock();
        m_pHost->UpdateCompareWindow();
    }
}
