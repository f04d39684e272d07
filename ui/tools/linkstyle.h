#pragma once
// Links in the program's text browsers (the start page in the information
// dock, the about window) in the current style's link colour: the style's text
// colour, bold and underlined, readable on dark and light styles alike. The
// colour becomes part of the document when the HTML is parsed, so the browser
// keeps its HTML and parses it again whenever its style changes (a new style
// chosen in the menu reaches every widget as a style change).

#include <QString>

class QTextBrowser;

namespace LinkStyle {

// The default sheet for links under the current style.
QString LinkSheet();

// Shows html in the browser with its links styled, and keeps them styled
// across style changes.
void SetHtml(QTextBrowser* browser, const QString& html);

} // namespace LinkStyle
