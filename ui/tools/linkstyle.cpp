#include "ui/tools/linkstyle.h"

#include "ui/toolkit/styleengine.h"

#include <QEvent>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

// Watches one browser: holds its HTML and parses it again under the new
// style. A child of the browser, so it goes with it.
class CLinkStyler : public QObject {
public:
    explicit CLinkStyler(QTextBrowser* browser) : QObject(browser), m_pBrowser(browser)
    {
        setObjectName(QStringLiteral("LinkStyler"));
        browser->installEventFilter(this);
    }

    void Show(const QString& html)
    {
        m_strHtml = html;
        m_strSheet = LinkStyle::LinkSheet();
        m_pBrowser->document()->setDefaultStyleSheet(m_strSheet);
        m_pBrowser->setHtml(m_strHtml);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_pBrowser &&
            (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange) &&
            LinkStyle::LinkSheet() != m_strSheet)
            Show(m_strHtml);
        return QObject::eventFilter(watched, event);
    }

private:
    QTextBrowser* m_pBrowser;
    QString m_strHtml;
    QString m_strSheet;
};

} // namespace

namespace LinkStyle {

QString LinkSheet()
{
    return CStyleEngine::instance().ReplaceStyleSheetCodes(
        QStringLiteral("a { color: #STYLE_TEXTCOLOR; text-decoration: underline; font-weight: bold; }"));
}

void SetHtml(QTextBrowser* browser, const QString& html)
{
    if (!browser)
        return;
    QObject* existing = browser->findChild<QObject*>(QStringLiteral("LinkStyler"), Qt::FindDirectChildrenOnly);
    CLinkStyler* styler = existing ? static_cast<CLinkStyler*>(existing) : new CLinkStyler(browser);
    styler->Show(html);
}

} // namespace LinkStyle
