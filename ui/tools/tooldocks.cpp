#include "ui/tools/tooldocks.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>

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

} // namespace ToolDocks
