#pragma once
// Dialog base classes:
// - HDRInfoDialog, the base of the tool dialogs, with an optional
//   information area on its right: a help button that shows or hides a side
//   browser holding the help text of the main window's information dock;
// - HDRMessageBox, a question box with an optional yes button and a default
//   no button;
// - HDRInputDialog, a prompt for one line of text;
// - HDRFileDialog, a file dialog;
// - _QTextBrowser, a text browser without a context menu.
// Every exec() runs through _gui::ExecModal, so tests can answer it.

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTextBrowser>

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

class _QTextBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit _QTextBrowser(QWidget* parent) : QTextBrowser(parent) {}

protected:
    void contextMenuEvent(QContextMenuEvent*) override {}
};

class HDRInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit HDRInfoDialog(QWidget* parent);

    // Adds the separator, the help button and the side browser; subclasses
    // call it at the end of their constructors, after their own content.
    void CreateInfoArea();
    // Adjusts the size to the layout; when asked, centres on the main window.
    void Resize(bool centre);

    int exec() override;

    QHBoxLayout* GetMainLayout() const { return m_pMainLayout; }
    QVBoxLayout* GetInfoLayout() const { return m_pInfoLayout; }
    QPushButton* GetInfoButton() const { return m_pInfoButton; }
    QTextBrowser* GetInfoBrowser() const { return m_pInfoBrowser; }

signals:
    void showInfo(bool shown);

public slots:
    void done(int result) override;

protected slots:
    void infoButtonClicked();

protected:
    void showEvent(QShowEvent* event) override;

    QHBoxLayout* m_pMainLayout = nullptr;
    QVBoxLayout* m_pInfoLayout = nullptr;
    QPushButton* m_pInfoButton = nullptr;
    QTextBrowser* m_pInfoBrowser = nullptr;
};

class HDRMessageBox : public QMessageBox {
    Q_OBJECT
public:
    // A yes button only when yes is not empty; the no button is the default.
    HDRMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                  const QString& yes, const QString& no);

    bool YesClicked() const;
    void SetYesIsStandardButton();
    int exec() override;

    QPushButton* GetYesButton() const { return m_pYesButton; }
    QPushButton* GetNoButton() const { return m_pNoButton; }

private:
    QPushButton* m_pYesButton = nullptr;
    QPushButton* m_pNoButton = nullptr;
};

class HDRInputDialog : public QInputDialog {
    Q_OBJECT
public:
    HDRInputDialog(QWidget* parent, const QString& title, const QString& label, const QString& text,
                   const QString& ok, const QString& cancel);
    int exec() override;
};

class HDRFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // Only the parent is used.
    HDRFileDialog(QWidget* parent, const QString& caption, const QString& directory, const QString& filter,
                  QFileDialog::FileMode mode, QFileDialog::Option option);
    int exec() override;
};
