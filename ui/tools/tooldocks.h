#pragma once
// Small helpers shared by the docks and windows of ui/tools/.

class QObject;
class QTextBrowser;

namespace ToolDocks {

// Connects the sender's signal (SIGNAL(...)) to the receiver's slot of the
// given normalized signature when the receiver has one; true when connected.
// The docks reach the main window's slots this way without knowing its class.
bool ConnectToParent(QObject* sender, const char* signal, QObject* receiver, const char* slotSignature);

// Links in the browser's text take the style's text colour, underlined, so
// they stay readable on dark and light styles. Before the text is set.
void StyleLinks(QTextBrowser* browser);

} // namespace ToolDocks
