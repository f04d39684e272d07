#pragma once
// HDRAboutWindow, the program's about box: version and legal notes with the
// homepage address, credits and licences in three read-only panes, and an
// OK button. Every text comes from the translation files.

#include "ui/toolkit/hdrdialogs.h"

class QPushButton;
class QTextBrowser;

class HDRAboutWindow : public HDRInfoDialog {
    Q_OBJECT
public:
    // homepage: the address put in place of "CODE_HOMEPAGEURL"; a null string
    // takes the main window's.
    explicit HDRAboutWindow(QWidget* parent, const QString& homepage = QString());

    // The version pane's text: the header, the about text, the placeholder replaced.
    static QString VersionText(const QString& aboutText, const QString& homepage);

    QPushButton* m_pOkButton = nullptr;
    QTextBrowser* m_apBrowsers[3] = {}; // version, credits, licences

public slots:
    void confirmClicked();
    // Plain QDialog behaviour: the box has no information area.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
};
