#pragma once
// HDRExifDockwidget, the metadata dock: eight collapsible sections, section k
// showing the exposure's metadata group k (1 main EXIF, 2 advanced EXIF,
// 3 GPS, 4 maker note, 5 interoperability, 6 IPTC, 7 XMP, 8 GeoTIFF) as an
// HTML table. The dock keeps the row counts of the tables it shows, not the
// exposure's record, so a later resize never reads a discarded document.

#include "ui/toolkit/hdrdockwidget.h"
#include "ui/tools/tooldockseams.h"

class HDRCollapsible;
class QTextBrowser;

class HDRExifDockwidget : public HDRDockWidget, public IExifDock {
    Q_OBJECT
public:
    static constexpr int kSections = 8;

    HDRExifDockwidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());

    // ---- IExifDock ----
    QDockWidget* Dock() override { return this; }
    void UpdateExif(CExposure* exposure) override;
    void ShowDefaultCategories() override;

    // Shows the given groups (header and table by key); what UpdateExif does
    // with the exposure's record.
    void ShowMetadata(const QString& fileName, const QMap<unsigned int, QString>& headers,
                      const QMap<unsigned int, QString>& tables);
    void GetInfoText(QString&) override {}

    HDRCollapsible* m_apSections[kSections] = {};
    QTextBrowser* m_apBrowsers[kSections] = {};

signals:
    void closeClicked();

public slots:
    void resizeContent();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // What the last UpdateExif showed: "<tr>" rows of each section's table.
    bool m_bShowsMetadata = false;
    int m_aiRowCounts[kSections] = {};
};
