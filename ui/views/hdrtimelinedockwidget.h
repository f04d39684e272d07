#pragma once
// HDRTimelineDockWidget, the undo timeline: one titled box per undo point,
// oldest on the left, each with its thumbnail, a load and a delete button.
// It keeps its entries in step with the undo folders "temp%d" of the undo
// root: it deletes a point's folder and renumbers the later ones, measures
// the space the points use and deletes the oldest when there are too many or
// the disk runs full. It reaches the main window through ITimelineUndoHost.

#include <QDockWidget>
#include <QString>
#include <QVector>

#include <functional>

class HDRExposureLabel;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QScrollArea;

// What the timeline needs of the main window's undo machinery.
class ITimelineUndoHost {
public:
    virtual ~ITimelineUndoHost() = default;
    virtual bool removeDir(const QString& path) = 0;
    virtual void setUndoLevel(int level) = 0;
    virtual void SaveUndo() = 0;
    virtual void RestoreTimeline(int index) = 0;
    virtual int ChangeCounter() const = 0;
    virtual int UndoLevel() const = 0;
    // The folder holding the undo folders, with a trailing "/".
    virtual QString UndoRoot() const = 0;
};

class HDRTimelineDockWidget : public QDockWidget {
    Q_OBJECT
public:
    HDRTimelineDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~HDRTimelineDockWidget() override;

    void SetUndoHost(ITimelineUndoHost* host) { m_pHost = host; }
    // Free space in GB of the volume of a path, negative when unknown; the
    // engine's measure unless replaced (tests).
    using FreeSpaceMeasure = std::function<double(const QString& path)>;
    void SetFreeSpaceMeasure(FreeSpaceMeasure measure);
    // Moves a folder aside before it is removed; a rename unless replaced (tests).
    using FolderMover = std::function<bool(const QString& from, const QString& to)>;
    void SetFolderMover(FolderMover mover);

    void AddItem(unsigned short* rgb48, int width, int height, int index, QString title, bool updateTitle);
    // Deletes an entry and its folder, renumbering the later ones. False (and
    // a message) when the folder could not be moved aside: nothing changed.
    // An index outside the entries does nothing.
    bool DeleteItem(int index);
    void Reset();
    void SetAllUnselected();
    void SetSelectedByIndex(int index);
    void SetTitle();
    double GetUsedHDDMemoryInGB() const;
    int GetAutoDeleteAmount(int maximum, double minimumFree) const;
    void AutoDeleteCheck(int maximum, double minimumFree, int amount);

    int EntryCount() const { return int(m_vLabels.size()); }
    HDRExposureLabel* Label(int index) const { return m_vLabels.value(index); }
    QPushButton* LoadButton(int index) const { return m_vLoadButtons.value(index); }
    QPushButton* DeleteButton(int index) const { return m_vDeleteButtons.value(index); }
    QGroupBox* Box(int index) const { return m_vBoxes.value(index); }
    QScrollArea* ScrollArea() const { return m_pScrollArea; }

    QString m_sBaseTitle;
    int m_iLastIndex = -1;
    bool m_bKeepItems = false;

signals:
    void SigClosed();

public slots:
    void loadButtonClicked();
    void deleteButtonClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString UndoRoot() const;
    double FreeSpaceInGB() const;
    // The thumbnail tooltip of an entry: its title and the folder's preview picture.
    void SetLabelTooltip(int index);
    // Frees the widgets of one entry.
    void DeleteEntryWidgets(int index);

    ITimelineUndoHost* m_pHost = nullptr;
    FreeSpaceMeasure m_FreeSpace;
    FolderMover m_Mover;
    QHBoxLayout* m_pRowLayout = nullptr;
    QScrollArea* m_pScrollArea = nullptr;
    QWidget* m_pContent = nullptr;
    QVector<HDRExposureLabel*> m_vLabels;
    QVector<QPushButton*> m_vLoadButtons;
    QVector<QPushButton*> m_vDeleteButtons;
    QVector<QGroupBox*> m_vBoxes;
    QVector<QString> m_vTitles;
};
