#include "ui/tools/tooldocks.h"

#include "ui/toolkit/styleengine.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QTextBrowser>
#include <QTextDocument>

namespace ToolDocks {

bool ConnectToParent(QObject* sender, const char* signal, QObject* receiver, const char* slotSignature)
{
    if (!sender || !receiver)
        return false;
    if (receiver->metaObject()->indexOfSlot(slotSignature) < 0)
        return false;
    const QByteArray slot = QByteArray("1") + slotSignature; // the SLOT() form
    return QObject::connect(sender, signal, receiver, slot.constData()) != QMetaObject::Connection();
}

void StyleLinks(QTextBrowser* browser)
{
    if (!browser)
        return;
    browser->document()->setDefaultStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(
        QStringLiteral("a { color: #STYLE_TEXTCOLOR; text-decoration: underline; font-weight: bold; }")));
}

} // namespace ToolDocks
