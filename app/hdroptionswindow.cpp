#include "app/hdroptionswindow.h"
#include "ui/toolkit/AK_Global.h"

#include "engine/MP_calc.h"
#include "engine/core/luminance.h"
#include "engine/draw/painters.h"
#include "platform/userpaths.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/options/options.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/styleengine.h"
#include "ui/toolkit/toolkitseams.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {


const char* const kPathKeys[4] = {"paths/projects", "paths/series", "paths/single", "paths/results"};
const char* const kExternalKeys[4] = {"external/editor", "external/editor_cs6", "external/editor_lr4",
                                      "external/editor_ele11"};
// Factory programs: entry 1 opens the result with the desktop's default program.
const char* const kFactoryExternals[4] = {"", "xdg-open", "", ""};
const float kSampleRates[4] = {0.5f, 0.8f, 1.2f, 1.9f};

const char* const LOCALE_NAMES[COptions::kLocaleCount] = {
    QT_TRANSLATE_NOOP("HDROptionsWindow", "Deutsch"),  QT_TRANSLATE_NOOP("HDROptionsWindow", "English GB"),
    QT_TRANSLATE_NOOP("HDROptionsWindow", "English US"), QT_TRANSLATE_NOOP("HDROptionsWindow", "French"),
    QT_TRANSLATE_NOOP("HDROptionsWindow", "Italian"),  QT_TRANSLATE_NOOP("HDROptionsWindow", "Espanol")};

// A float or double option of the file; absent when the key is missing or the
// value is not a finite number.
bool readNumber(const QSettings& ini, const char* key, double* out)
{
    const QString name = QLatin1String(key);
    if (!ini.contains(name))
        return false;
    bool ok = false;
    const double v = ini.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

bool readInt(const QSettings& ini, const char* key, int* out)
{
    const QString name = QLatin1String(key);
    if (!ini.contains(name))
        return false;
    bool ok = false;
    const int v = ini.value(name).toInt(&ok);
    if (!ok)
        return false;
    *out = v;
    return true;
}

// Floats are stored as text, the shortest that reads back to the same float.
QString floatText(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return QString::fromLatin1(text, result.ptr - text);
}

QLabel* fixedLabel(const QString& text, int width, QWidget* parent)
{
    QLabel* label = new QLabel(text, parent);
    label->setFixedWidth(width);
    return label;
}

// The path and program groups: rows 2 px apart, controls 10 px apart.
QVBoxLayout* rowsLayout(QGroupBox* group)
{
    QVBoxLayout* rows = new QVBoxLayout(group);
    rows->setSpacing(2);
    return rows;
}

QDoubleSpinBox* spinBox(double lo, double hi, int decimals, const QString& suffix, QWidget* parent)
{
    QDoubleSpinBox* box = new QDoubleSpinBox(parent);
    box->setRange(lo, hi);
    box->setDecimals(decimals);
    box->setSingleStep(0.1);
    box->setAccelerated(true);
    box->setSuffix(suffix);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    return box;
}

HDRSlider* weightSlider(QWidget* parent, const QString& name, const char* groove, const QString& tooltip)
{
    HDRSlider* s = new HDRSlider(parent, name, QString(), QString(), QStringLiteral("%"), 0, 100, 5, 1, true,
                                 QLatin1String(groove), false);
    s->SetCenterValueInt(50);
    s->setFixedWidth(320);
    s->setToolTip(_gui::HtmlToolTip(tooltip));
    return s;
}

} // namespace

// ---- construction -------------------------------------------------------------

HDROptionsWindow::HDROptionsWindow(QWidget* parent) : HDRInfoDialog(parent)
{
    setWindowIcon(QIcon::fromTheme(QStringLiteral("properties"), QIcon()));
    setWindowTitle(tr("Einstellungen"));

    QVBoxLayout* content = new QVBoxLayout();
    content->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_pMainLayout->addLayout(content);

    m_pTabWidget = new QTabWidget(this);
    m_pTabWidget->setObjectName(QStringLiteral("options_programm_tab"));
    m_pProgramPage = BuildProgramPage();
    m_pCalcPage = BuildCalcPage();
    m_pTabWidget->addTab(m_pProgramPage, tr("Programm"));
    m_pTabWidget->addTab(m_pCalcPage, tr("Berechnung"));
    content->addWidget(m_pTabWidget);

    QHBoxLayout* buttons = new QHBoxLayout();
    m_pDefaultButton = new QPushButton(QIcon::fromTheme(QStringLiteral("SetDefault"), QIcon()), QString(), this);
    m_pDefaultButton->setFixedSize(34, 34);
    m_pDefaultButton->setToolTip(_gui::HtmlToolTip(tr("Einstellungen auf Standardwerte zurücksetzen")));
    buttons->addWidget(m_pDefaultButton, 0, Qt::AlignLeft | Qt::AlignBottom);
    buttons->addStretch(1);
    m_pConfirmButton = new QPushButton(tr("OK"), this);
    m_pConfirmButton->setToolTip(_gui::HtmlToolTip(tr("Einstellungen Bestätigen")));
    m_pCancelButton = new QPushButton(tr("Abbrechen"), this);
    m_pCancelButton->setToolTip(_gui::HtmlToolTip(tr("Einstellungen Abbrechen")));
    m_pApplyButton = new QPushButton(tr("Übernehmen"), this);
    m_pApplyButton->setToolTip(_gui::HtmlToolTip(tr("Einstellungen Übernehmen")));
    for (QPushButton* b : {m_pConfirmButton, m_pCancelButton, m_pApplyButton}) {
        b->setFixedSize(106, 34);
        buttons->addWidget(b, 0, Qt::AlignRight | Qt::AlignBottom);
    }
    content->addLayout(buttons);
    connect(m_pDefaultButton, &QPushButton::clicked, this, &HDROptionsWindow::defaultClicked);
    connect(m_pConfirmButton, &QPushButton::clicked, this, &HDROptionsWindow::confirmClicked);
    connect(m_pCancelButton, &QPushButton::clicked, this, &HDROptionsWindow::cancelClicked);
    connect(m_pApplyButton, &QPushButton::clicked, this, &HDROptionsWindow::applyClicked);
    connect(m_pTabWidget, &QTabWidget::currentChanged, this, &HDROptionsWindow::tabChanged);

    // Hidden groups and row.
    m_pGammaGroupBox->setVisible(false);
    m_pGammaViewCheckBox->setVisible(false);
    m_pGPUGroupBox->setVisible(false);
    m_pUndoGroupBox->setVisible(false);
    m_pPathLabel[1]->setVisible(false);
    m_pPathEdit[1]->setVisible(false);
    m_pPathButton[1]->setVisible(false);

    // Start-up: defaults, the file (created when missing), then apply, so the
    // engine holds the user's options before the first image is loaded.
    g_pOptionsWindow = this;
    CDocumentSettings::SetDisplayGammaSource(this);
    defaultClickedSelective(true, false);
    defaultClickedSelective(false, true);
    if (!QFileInfo::exists(OptionsIniPath()))
        applyClicked();
    FromSettings();
    applyClicked();
    m_pConfirmButton->setFocus();
    CreateInfoArea();
}

HDROptionsWindow::~HDROptionsWindow()
{
    delete[] m_pColorCircleBuffer;
    if (g_pOptionsWindow == this)
        g_pOptionsWindow = nullptr;
    IDisplayGammaSource* registered = CDocumentSettings::SetDisplayGammaSource(nullptr);
    if (registered != this)
        CDocumentSettings::SetDisplayGammaSource(registered);
}

QHBoxLayout* HDROptionsWindow::entryRow(QWidget* lead, QLineEdit** edit, QPushButton** button, const QString& editTip,
                                        const QString& buttonTip)
{
    QWidget* parent = lead->parentWidget();
    QHBoxLayout* row = new QHBoxLayout();
    row->setSpacing(10);
    row->setContentsMargins(0, 0, 0, 0);
    *edit = new QLineEdit(parent);
    (*edit)->setFixedSize(400, 24);
    (*edit)->setContextMenuPolicy(Qt::NoContextMenu);
    if (!editTip.isEmpty())
        (*edit)->setToolTip(_gui::HtmlToolTip(editTip));
    *button = new QPushButton(QStringLiteral("..."), parent);
    (*button)->setFixedSize(64, 32);
    (*button)->setToolTip(_gui::HtmlToolTip(buttonTip));
    row->addWidget(lead);
    row->addWidget(*edit);
    row->addWidget(*button);
    row->addSpacing(100);
    row->addStretch(1);
    connect(*edit, &QLineEdit::textChanged, this, &HDROptionsWindow::anythingChanged);
    return row;
}

QWidget* HDROptionsWindow::BuildProgramPage()
{
    QWidget* page = new QWidget(this);
    page->setObjectName(QStringLiteral("properties_program"));
    page->setFixedWidth(798);
    QVBoxLayout* layout = new QVBoxLayout(page);
    layout->setSpacing(20);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto group = [&](const QString& title) {
        QGroupBox* g = new QGroupBox(title, page);
        g->setFixedWidth(798);
        layout->addWidget(g);
        return g;
    };

    // Default folders.
    {
        QGroupBox* g = group(tr("Standardpfade"));
        QVBoxLayout* rows = rowsLayout(g);
        const QString labels[4] = {tr("Projekte"), tr("Belichtungsreihen"), tr("Einzelbilder"), tr("Ergebnisbilder")};
        const QString tips[4] = {tr("PATH_PROJECTS"), tr("PATH_SERIES"), tr("PATH_SINGLE"), tr("PATH_RESULTS")};
        for (int i = 0; i < 4; ++i) {
            m_pPathLabel[i] = fixedLabel(labels[i], 194, g);
            rows->addLayout(entryRow(m_pPathLabel[i], &m_pPathEdit[i], &m_pPathButton[i], tips[i], tr("Pfad auswählen")));
            connect(m_pPathButton[i], &QPushButton::clicked, this, &HDROptionsWindow::selectPathClicked);
        }
    }
    // External programs.
    {
        QGroupBox* g = group(tr("Externe Programme"));
        QVBoxLayout* rows = rowsLayout(g);
        const QString labels[4] = {tr("Bildbearbeiter"), tr("Standardprogramm"), tr("Bildbearbeiter 2"),
                                   tr("Bildbearbeiter 3")};
        for (int i = 0; i < 4; ++i) {
            m_pExternalCheckBox[i] = new QCheckBox(labels[i], g);
            m_pExternalCheckBox[i]->setFixedWidth(204);
            rows->addLayout(entryRow(m_pExternalCheckBox[i], &m_pExternalEdit[i], &m_pExternalButton[i],
                                     i == 0 ? tr("EXTERNAL_EDITOR") : QString(), tr("Programm auswählen")));
            connect(m_pExternalCheckBox[i], &QCheckBox::clicked, this, &HDROptionsWindow::selectExternalCheckboxClicked);
            connect(m_pExternalButton[i], &QPushButton::clicked, this, &HDROptionsWindow::selectExternalClicked);
        }
    }
    // Gamma (hidden).
    {
        m_pGammaGroupBox = group(tr("Gamma Optionen"));
        QHBoxLayout* row = new QHBoxLayout(m_pGammaGroupBox);
        row->addWidget(fixedLabel(tr("HDR Gamma-Wert"), 157, m_pGammaGroupBox));
        m_pGammaSpinBox = spinBox(0.1, 9.9, 1, QString(), m_pGammaGroupBox);
        m_pGammaSpinBox->setFixedSize(50, 24);
        m_pGammaSpinBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip HDR Gamma Wert")));
        row->addWidget(m_pGammaSpinBox);
        row->addSpacing(107);
        row->addWidget(new QLabel(tr("Wird nur bei Fließkomma-Bildformaten genutzt."), m_pGammaGroupBox));
        m_pGammaViewCheckBox = new QCheckBox(tr("HDR-Gamma in der Bildanzeige"), m_pGammaGroupBox);
        m_pGammaViewCheckBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip HDR Gamma View")));
        row->addWidget(m_pGammaViewCheckBox);
        row->addStretch(1);
        connect(m_pGammaSpinBox, &QDoubleSpinBox::valueChanged, this, &HDROptionsWindow::anythingChanged);
        connect(m_pGammaViewCheckBox, &QCheckBox::toggled, this, &HDROptionsWindow::anythingChanged);
    }
    // Language.
    {
        QGroupBox* g = group(tr("Sprache"));
        QHBoxLayout* row = new QHBoxLayout(g);
        row->addWidget(fixedLabel(tr("Anzeigesprache"), 160, g));
        m_pLanguageComboBox = new QComboBox(g);
        m_pLanguageComboBox->setFixedWidth(150);
        row->addWidget(m_pLanguageComboBox);
        row->addSpacing(10);
        row->addWidget(new QLabel(tr("Erfordert einen Neustart des Programms."), g));
        row->addStretch(1);
        COptions* options = COptions::getInstance();
        for (int i = 0; i < COptions::kLocaleCount; ++i) {
            const QString locale = QLatin1String(COptions::LOCALES[i]);
            if (options->IsLocaleAvailable(locale))
                m_pLanguageComboBox->addItem(tr(LOCALE_NAMES[i]), locale);
        }
        if (m_pLanguageComboBox->count() == 0)
            m_pLanguageComboBox->addItem(tr(LOCALE_NAMES[1]), QStringLiteral("en_GB"));
        FromLocale();
        connect(m_pLanguageComboBox, &QComboBox::currentIndexChanged, this, &HDROptionsWindow::anythingChanged);
    }
    // GPU (hidden).
    {
        m_pGPUGroupBox = group(tr("GPU Beschleunigung"));
        QHBoxLayout* row = new QHBoxLayout(m_pGPUGroupBox);
        m_pOpenCLCheckBox = new QCheckBox(tr("OpenCL verwenden"), m_pGPUGroupBox);
        m_pOpenCLCheckBox->setToolTip(_gui::HtmlToolTip(tr("OpenCL aktivieren/deaktivieren")));
        m_pOpenCLCheckBox->setEnabled(MP_UI_GetCalcForceMode() == 0);
        row->addWidget(m_pOpenCLCheckBox);
        row->addStretch(1);
        connect(m_pOpenCLCheckBox, &QCheckBox::toggled, this, &HDROptionsWindow::anythingChanged);
    }
    // Project compression.
    {
        QGroupBox* g = group(tr("Projekte"));
        QHBoxLayout* row = new QHBoxLayout(g);
        row->addWidget(fixedLabel(tr("Kompression"), 157, g));
        m_pCompressionSlider = new HDRSlider(g, tr("Stufe"), tr("aus"), tr("hoch"), QStringLiteral(" "), 0, 5, 1, 1,
                                             true, QStringLiteral("stop:0 #2f2f2f, stop:0.5 #7f7f7f, stop:1 #dfdfdf"),
                                             false);
        m_pCompressionSlider->SetCenterValueInt(2);
        m_pCompressionSlider->setFixedWidth(220);
        m_pCompressionSlider->setToolTip(_gui::HtmlToolTip(tr("Tooltip Projektkompression")));
        row->addWidget(m_pCompressionSlider);
        row->addSpacing(107);
        row->addStretch(1);
        connect(m_pCompressionSlider, &HDRSlider::valueUpdated, this, &HDROptionsWindow::CompressionLevelChanged);
    }
    // Undo (hidden).
    {
        m_pUndoGroupBox = group(tr("Undo"));
        QVBoxLayout* rows = new QVBoxLayout(m_pUndoGroupBox);
        QHBoxLayout* row1 = new QHBoxLayout();
        row1->addWidget(fixedLabel(tr("Undo-Speicherung"), 157, m_pUndoGroupBox));
        m_pUndoSaveCheckBox = new QCheckBox(tr("Undo Stufen in Projekten speichern"), m_pUndoGroupBox);
        m_pUndoSaveCheckBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip Undo in Projekten speichern")));
        row1->addWidget(m_pUndoSaveCheckBox);
        row1->addSpacing(107);
        row1->addStretch(1);
        rows->addLayout(row1);
        QHBoxLayout* row2 = new QHBoxLayout();
        row2->addWidget(fixedLabel(QString(), 157, m_pUndoGroupBox));
        row2->addWidget(fixedLabel(tr("maximale Undo-Stufen"), 152, m_pUndoGroupBox));
        m_pUndoMaxAmount = new QComboBox(m_pUndoGroupBox);
        m_pUndoMaxAmount->setFixedWidth(115);
        m_pUndoMaxAmount->addItems({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10"),
                                    QStringLiteral("20"), QStringLiteral("50"), tr("beliebig")});
        m_pUndoMaxAmount->setToolTip(_gui::HtmlToolTip(tr("tooltip m_pUndoMaxAmount")));
        row2->addWidget(m_pUndoMaxAmount);
        row2->addWidget(fixedLabel(QString(), 20, m_pUndoGroupBox));
        row2->addWidget(fixedLabel(tr("minimal freier Speicherplatz"), 197, m_pUndoGroupBox));
        m_pUndoSafetySpinBox = spinBox(1, 1, 0, QStringLiteral(" GB"), m_pUndoGroupBox);
        m_pUndoSafetySpinBox->setSingleStep(1);
        m_pUndoSafetySpinBox->setFixedSize(70, 24);
        m_pUndoSafetySpinBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip UndoSafetySpeicherplatz")));
        row2->addWidget(m_pUndoSafetySpinBox);
        row2->addStretch(1);
        rows->addLayout(row2);
        // The volume of the user settings folder (its parent while it does
        // not exist yet, at the very first start).
        QString folder = lumivex::platform::userSettingsFolder();
        if (!QFileInfo(folder).isDir())
            folder = QDir::homePath();
        double freeSpace = -1.0;
        MP_UI_GetDiskSpaceInformationInGB(QFile::encodeName(folder).constData(), &m_dCapacity, &freeSpace);
        m_pUndoSafetySpinBox->setRange(1, static_cast<int>(m_dCapacity));
        if (m_dCapacity > 0)
            m_pUndoSafetySpinBox->setValue(static_cast<int>(m_dCapacity / 10));
        connect(m_pUndoSaveCheckBox, &QCheckBox::clicked, this, &HDROptionsWindow::UndoSaveChanged);
        connect(m_pUndoMaxAmount, &QComboBox::currentIndexChanged, this, &HDROptionsWindow::anythingChanged);
        connect(m_pUndoSafetySpinBox, &QDoubleSpinBox::valueChanged, this, &HDROptionsWindow::anythingChanged);
    }
    // Preview size.
    {
        QGroupBox* g = group(tr("Groupbox Previewgröße"));
        QHBoxLayout* row = new QHBoxLayout(g);
        row->addWidget(fixedLabel(tr("Previewgröße"), 157, g));
        m_pPreview11Button = new QPushButton(tr("1:1 Pixel"), g);
        m_pPreview11Button->setToolTip(_gui::HtmlToolTip(tr("Tooltip 1:1 Pixel")));
        m_pPreviewFastButton = new QPushButton(tr("schnell"), g);
        m_pPreviewFastButton->setToolTip(_gui::HtmlToolTip(tr("Tooltip Schnell")));
        for (QPushButton* b : {m_pPreview11Button, m_pPreviewFastButton}) {
            b->setCheckable(true);
            b->setFixedSize(120, 18);
            row->addWidget(b);
            connect(b, &QPushButton::clicked, this, &HDROptionsWindow::previewSizeClicked);
        }
        row->addSpacing(30);
        row->addWidget(new QLabel(QString(), g));
        m_pPreviewSizeSpinBox = spinBox(0.3, 2.5, 2, QStringLiteral(" ") + tr("Megapixel"), g);
        m_pPreviewSizeSpinBox->setFixedSize(150, 24);
        m_pPreviewSizeSpinBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip HDR Preview Size")));
        row->addWidget(m_pPreviewSizeSpinBox);
        row->addStretch(1);
        connect(m_pPreviewSizeSpinBox, &QDoubleSpinBox::valueChanged, this, &HDROptionsWindow::anythingChanged);
    }
    return page;
}

QWidget* HDROptionsWindow::BuildCalcPage()
{
    QWidget* page = new QWidget(this);
    page->setObjectName(QStringLiteral("properties_calc"));
    page->setFixedWidth(798);
    QVBoxLayout* layout = new QVBoxLayout(page);
    layout->setSpacing(20);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const QString pictureSheet =
        CStyleEngine::instance().ReplaceStyleSheetCodes(QStringLiteral("border-style: inset; border-width: 2px; "
                                                                       "border-color: #STYLE_BORDERCOLOR; background: "
                                                                       "rgb(%1,%1,%1);")
                                                            .arg(46));
    auto picture = [&](QWidget* parent, const QString& tip) {
        QLabel* label = new QLabel(parent);
        label->setFixedSize(kLuminancePictureSize, kLuminancePictureSize);
        label->setAlignment(Qt::AlignCenter);
        label->setScaledContents(false);
        label->setStyleSheet(pictureSheet);
        label->setToolTip(_gui::HtmlToolTip(tip));
        return label;
    };
    const char* greyGroove = "stop:0 #3f3f3f, stop:1 #bfbfbf";

    // Quality.
    {
        QGroupBox* g = new QGroupBox(tr("Qualität"), page);
        g->setFixedWidth(798);
        layout->addWidget(g);
        QVBoxLayout* v = new QVBoxLayout(g);
        QLabel* warning = new QLabel(tr("Warnung CalcOptions"), g);
        warning->setAlignment(Qt::AlignLeft);
        warning->setWordWrap(true);
        v->addWidget(warning);
        QLabel* spacer = new QLabel(QStringLiteral(" "), g);
        spacer->setFixedSize(10, 6);
        v->addWidget(spacer);

        QHBoxLayout* row = new QHBoxLayout();
        QVBoxLayout* sliders = new QVBoxLayout();
        m_pQualitySlider = new HDRSlider(g, tr("Berechnungsqualität"), tr("minimal"), tr("maximal"),
                                         QStringLiteral("%"), 1, 200, 5, 1, true, QLatin1String(greyGroove), false);
        m_pQualitySlider->SetCenterValueInt(100);
        m_pQualitySlider->setFixedWidth(320);
        m_pQualitySlider->setToolTip(_gui::HtmlToolTip(tr("m_pQualitySlider")));
        m_pSuperquadricSlider = new HDRSlider(g, tr("Superquadrik"), tr("klein"), tr("groß"), QStringLiteral("%"), 1,
                                              100, 5, 1, true, QLatin1String(greyGroove), false);
        m_pSuperquadricSlider->SetCenterValueInt(50);
        m_pSuperquadricSlider->setFixedWidth(320);
        m_pSuperquadricSlider->setToolTip(_gui::HtmlToolTip(tr("m_pSuperquadricSlider")));
        sliders->addWidget(m_pQualitySlider);
        sliders->addWidget(m_pSuperquadricSlider);
        row->addLayout(sliders);
        row->addSpacing(10);
        m_pQualityLabel = picture(g, tr("m_pQualityLabel"));
        row->addWidget(m_pQualityLabel);
        row->addSpacing(10);

        QGridLayout* rates = new QGridLayout();
        rates->setHorizontalSpacing(13);
        QLabel* rateLabel = new QLabel(tr("Abtastrate"), g);
        rateLabel->setFixedSize(160, 18);
        rates->addWidget(rateLabel, 0, 0, Qt::AlignTop);
        const QString names[4] = {tr("niedrig"), tr("normal"), tr("hoch"), tr("ultra")};
        for (int i = 0; i < 4; ++i) {
            m_pSampleRateButton[i] = new QPushButton(names[i], g);
            m_pSampleRateButton[i]->setCheckable(true);
            m_pSampleRateButton[i]->setFixedSize(181, 18);
            m_pSampleRateButton[i]->setToolTip(_gui::HtmlToolTip(tr("Tooltip Abtastrate low")));
            rates->addWidget(m_pSampleRateButton[i], i + 1, 0, Qt::AlignLeft);
            connect(m_pSampleRateButton[i], &QPushButton::clicked, this, &HDROptionsWindow::sampleRateClicked);
        }
        row->addLayout(rates);
        row->addSpacing(131);
        row->addStretch(1);
        v->addLayout(row);
        connect(m_pQualitySlider, &HDRSlider::valueUpdated, this, &HDROptionsWindow::qualityChanged);
        connect(m_pSuperquadricSlider, &HDRSlider::valueUpdated, this, &HDROptionsWindow::qualityChanged);
    }
    // Luminance conversion.
    {
        QGroupBox* g = new QGroupBox(tr("Luminanzkonvertierung"), page);
        g->setFixedWidth(798);
        layout->addWidget(g);
        QVBoxLayout* v = new QVBoxLayout(g);
        QHBoxLayout* presetRow = new QHBoxLayout();
        presetRow->addWidget(fixedLabel(tr("Voreinstellungen"), 160, g));
        m_pLuminancePresetsComboBox = new QComboBox(g);
        m_pLuminancePresetsComboBox->setFixedWidth(150);
        m_pLuminancePresetsComboBox->addItem(tr("Benutzer"), -1);
        m_pLuminancePresetsComboBox->addItem(tr("Linear"), 1);
        m_pLuminancePresetsComboBox->addItem(tr("SDTV"), 3);
        m_pLuminancePresetsComboBox->addItem(tr("HDTV"), 2);
        m_pLuminancePresetsComboBox->setToolTip(_gui::HtmlToolTip(tr("m_pLuminancePresetsComboBox")));
        presetRow->addWidget(m_pLuminancePresetsComboBox);
        presetRow->addStretch(1);
        v->addLayout(presetRow);

        QHBoxLayout* row = new QHBoxLayout();
        QVBoxLayout* sliders = new QVBoxLayout();
        m_pLuminanceRSlider = weightSlider(g, tr("Rot"), "stop:0 #080000, stop:1 #f80000", tr("m_pLuminanceRSlider"));
        m_pLuminanceGSlider = weightSlider(g, tr("Grün"), "stop:0 #000800, stop:1 #00f800", tr("m_pLuminanceGSlider"));
        m_pLuminanceBSlider = weightSlider(g, tr("Blau"), "stop:0 #000008, stop:1 #0000f8", tr("m_pLuminanceBSlider"));
        for (HDRSlider* s : {m_pLuminanceRSlider, m_pLuminanceGSlider, m_pLuminanceBSlider}) {
            sliders->addWidget(s);
            connect(s, &HDRSlider::valueUpdated, this, &HDROptionsWindow::luminanceSliderUpdated);
        }
        row->addLayout(sliders);
        row->addSpacing(10);
        m_pLuminanceColorLabel = picture(g, tr("m_pLuminanceColorLabel"));
        row->addWidget(m_pLuminanceColorLabel);
        row->addSpacing(10);
        m_pArrowLabel = new QLabel(g);
        m_pArrowLabel->setFixedSize(34, kLuminancePictureSize);
        m_pArrowLabel->setAlignment(Qt::AlignCenter);
        m_pArrowLabel->setPixmap(QIcon::fromTheme(QStringLiteral("PfeilRechts"), QIcon()).pixmap(32, 16));
        row->addWidget(m_pArrowLabel);
        row->addSpacing(10);
        m_pLuminanceGrayLabel = picture(g, tr("m_pLuminanceGrayLabel"));
        row->addWidget(m_pLuminanceGrayLabel);
        row->addStretch(1);
        v->addLayout(row);
        connect(m_pLuminancePresetsComboBox, &QComboBox::currentIndexChanged, this,
                &HDROptionsWindow::luminancePresetSelected);
    }
    return page;
}

// ---- getters -----------------------------------------------------------------------

QString HDROptionsWindow::OptionsIniPath() { return lumivex::platform::userSettingsFolder() + QStringLiteral("options.ini"); }

QString HDROptionsWindow::GetPath(EPaths index) const
{
    if (index < 0 || index > 3)
        return QString();
    const QString path = m_pPathEdit[index]->text();
    if (path.isEmpty())
        return path;
    if (!QDir(path).exists())
        return QDir::currentPath();
    return path;
}

QString HDROptionsWindow::GetExternal(EExternals index) const
{
    if (index < 0 || index > 3)
        return QString();
    return m_pExternalEdit[index]->text();
}

bool HDROptionsWindow::IsGammaViewChecked() const { return m_pGammaViewCheckBox->isChecked(); }

int HDROptionsWindow::GetUndoMaxAmountIndex() const { return m_pUndoMaxAmount->currentIndex(); }

double HDROptionsWindow::GetUndoSafetyGB() const { return m_pUndoSafetySpinBox->value(); }

// ---- show and close ---------------------------------------------------------------------

void HDROptionsWindow::showEvent(QShowEvent* event)
{
    m_bApplied = false;
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        m_strSavedInfoText = dock->StoredText();
    if (m_pTabWidget->currentIndex() != 0)
        m_pTabWidget->setCurrentIndex(0); // runs tabChanged(0)
    else
        tabChanged(0);
    m_pApplyButton->setEnabled(false);
    HDRInfoDialog::showEvent(event);
    // The base fills the side browser from the information dock; without one
    // it takes the page's own text.
    if (!ToolkitSeams::InfoDock() && m_pInfoBrowser)
        m_pInfoBrowser->setHtml(m_strPageText);
}

void HDROptionsWindow::done(int result)
{
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        dock->UpdateText(m_strSavedInfoText);
    HDRInfoDialog::done(result);
}

void HDROptionsWindow::confirmClicked()
{
    applyClicked();
    close();
}

void HDROptionsWindow::cancelClicked()
{
    FromSettings();
    close();
}

void HDROptionsWindow::defaultClicked()
{
    if (m_pTabWidget->currentWidget() == m_pProgramPage)
        defaultClickedSelective(true, false);
    else if (m_pTabWidget->currentWidget() == m_pCalcPage)
        defaultClickedSelective(false, true);
}

void HDROptionsWindow::ShowInfoText(const QString& html)
{
    m_strPageText = html;
    if (IInfoDock* dock = ToolkitSeams::InfoDock()) {
        dock->UpdateText(html);
        if (m_pInfoBrowser)
            m_pInfoBrowser->setHtml(dock->InfoHtml());
    } else if (m_pInfoBrowser) {
        m_pInfoBrowser->setHtml(html);
    }
}

void HDROptionsWindow::tabChanged(int index)
{
    if (index == 0)
        ShowInfoText(tr("HDROptionsWindow Programm lumivex") + tr("HDROptionsWindow Compression") +
                     tr("HDROptionsWindow Previewsize"));
    else if (index == 1)
        ShowInfoText(tr("HDROptionsWindow Berechnung lumivex"));
}

// ---- handlers ----------------------------------------------------------------------------

void HDROptionsWindow::anythingChanged()
{
    if (sender() && sender() == m_pLanguageComboBox) {
        HDRMessageBox box(this, QMessageBox::Warning, QString(), tr("Erfordert einen Neustart des Programms."),
                          QString(), tr("Ok"));
        box.exec();
    }
    m_pApplyButton->setEnabled(true);
}

void HDROptionsWindow::selectPathClicked()
{
    const int row = static_cast<int>(std::find(m_pPathButton.begin(), m_pPathButton.end(), sender()) -
                                     m_pPathButton.begin());
    if (row < 0 || row > 3)
        return;
    HDRFileDialog dialog(this, QString(), QString(), QString(), QFileDialog::Directory, QFileDialog::ShowDirsOnly);
    dialog.setWindowTitle(tr("Pfad auswählen"));
    dialog.setDirectory(m_pPathEdit[row]->text());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().first();
    if (!chosen.isEmpty())
        m_pPathEdit[row]->setText(chosen);
}

void HDROptionsWindow::selectExternalClicked()
{
    const int row = static_cast<int>(std::find(m_pExternalButton.begin(), m_pExternalButton.end(), sender()) -
                                     m_pExternalButton.begin());
    if (row < 0 || row > 3)
        return;
    HDRFileDialog dialog(this, QString(), QString(), QString(), QFileDialog::ExistingFile,
                         QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(tr("Programm auswählen"));
    dialog.setDirectory(QFileInfo(m_pExternalEdit[row]->text()).absolutePath());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().first());
    if (chosen.isEmpty())
        return;
    // The entry holds a program the platform launcher can start.
    const QFileInfo info(chosen);
    if (info.isFile() && info.isExecutable()) {
        m_pExternalEdit[row]->setText(info.absoluteFilePath());
        return;
    }
    HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"), tr("BundleIndentifier nicht gefuneden"), QString(),
                      tr("Ok"));
    box.exec();
}

void HDROptionsWindow::CheckExternalBox(int index)
{
    for (int i = 0; i < 4; ++i)
        m_pExternalCheckBox[i]->setChecked(i == index);
}

void HDROptionsWindow::selectExternalCheckboxClicked()
{
    const int row = static_cast<int>(std::find(m_pExternalCheckBox.begin(), m_pExternalCheckBox.end(), sender()) -
                                     m_pExternalCheckBox.begin());
    if (row >= 0 && row < 4) {
        const bool checked = m_pExternalCheckBox[row]->isChecked();
        m_iExternalIndex = checked ? row : 0;
        CheckExternalBox(m_iExternalIndex);
    }
    anythingChanged();
}

void HDROptionsWindow::SetPreviewMode(int mode)
{
    m_pPreviewSizeSpinBox->setEnabled(true);
    m_pPreview11Button->setChecked(false);
    m_pPreviewFastButton->setChecked(false);
    if (mode == 1) {
        m_pPreview11Button->setChecked(true);
        m_pPreviewSizeSpinBox->setEnabled(false);
    } else if (mode == 2) {
        m_pPreviewFastButton->setChecked(true);
        m_pPreviewSizeSpinBox->setEnabled(false);
    }
}

void HDROptionsWindow::previewSizeClicked()
{
    if (sender() == m_pPreview11Button)
        m_pPreviewFastButton->setChecked(false);
    else if (sender() == m_pPreviewFastButton)
        m_pPreview11Button->setChecked(false);
    m_pPreviewSizeSpinBox->setEnabled(!m_pPreview11Button->isChecked() && !m_pPreviewFastButton->isChecked());
    anythingChanged();
}

void HDROptionsWindow::sampleRateClicked()
{
    for (QPushButton* b : m_pSampleRateButton)
        b->setChecked(false);
    if (QPushButton* clicked = qobject_cast<QPushButton*>(sender()))
        clicked->setChecked(true);
    anythingChanged();
}

float HDROptionsWindow::SampleRate(int button) { return kSampleRates[button]; }

void HDROptionsWindow::CompressionLevelChanged()
{
    MP_UI_SetCompressionLevel(static_cast<int>(m_pCompressionSlider->GetValueF() * 5.0f));
    anythingChanged();
}

void HDROptionsWindow::UndoSaveChanged()
{
    // Projects never carry undo points in this edition (the group is hidden).
    MP_UI_SetSaveTimeLineMode(0);
    anythingChanged();
}

void HDROptionsWindow::ShowPicture(QLabel* label, uint32_t* argb, int width, int height)
{
    QImage image(reinterpret_cast<uchar*>(argb), width, height, width * 4, QImage::Format_ARGB32);
    HDRPixmapCreator creator(&image);
    label->setPixmap(creator.m_Pixmap);
}

void HDROptionsWindow::qualityChanged()
{
    const float s = m_pQualitySlider->GetValueF() * 0.55f + 0.4f;
    const float k = m_pSuperquadricSlider->GetValueF();
    const int w = std::clamp(static_cast<int>(m_pQualityLabel->width() * s), 5, m_pQualityLabel->width());
    const int h = std::clamp(static_cast<int>(m_pQualityLabel->height() * s), 5, m_pQualityLabel->height());
    std::vector<uint32_t> buffer(static_cast<size_t>(w) * static_cast<size_t>(h));
    MP_UI_argb_paintSuperquadricKernel(buffer.data(), w, h, w, (1.0f - k) * 7.0f);
    ShowPicture(m_pQualityLabel, buffer.data(), w, h);
    anythingChanged();
}

void HDROptionsWindow::luminancePresetSelected()
{
    if (m_pLuminancePresetsComboBox->currentIndex() <= 0)
        return;
    const int type = m_pLuminancePresetsComboBox->currentData().toInt();
    float r = 0.0f, g = 0.0f, b = 0.0f;
    MP_UI_GetLuminanzConvFromType(type, &r, &g, &b);
    m_pLuminanceRSlider->SetValueF(r);
    m_pLuminanceGSlider->SetValueF(g);
    m_pLuminanceBSlider->SetValueF(b);
    luminanceUpdated();
}

void HDROptionsWindow::luminanceSliderUpdated()
{
    m_pLuminancePresetsComboBox->setCurrentIndex(0);
    HDRSlider* moved = qobject_cast<HDRSlider*>(sender());
    HDRSlider* a = nullptr;
    HDRSlider* b = nullptr;
    if (moved == m_pLuminanceRSlider) {
        a = m_pLuminanceGSlider;
        b = m_pLuminanceBSlider;
    } else if (moved == m_pLuminanceGSlider) {
        a = m_pLuminanceRSlider;
        b = m_pLuminanceBSlider;
    } else if (moved == m_pLuminanceBSlider) {
        a = m_pLuminanceRSlider;
        b = m_pLuminanceGSlider;
    }
    if (moved) {
        const float rest = 1.0f - moved->GetValueF();
        const float sum = a->GetValueF() + b->GetValueF();
        float shareA = 0.5f, shareB = 0.5f;
        if (sum > 0.01f) {
            shareA = a->GetValueF() / sum;
            shareB = b->GetValueF() / sum;
        }
        a->SetValueF(rest * shareA);
        b->SetValueF(rest * shareB);
        moved->SetValueF(1.0f - (a->GetValueF() + b->GetValueF()));
    }
    luminanceUpdated();
}

void HDROptionsWindow::luminanceUpdated()
{
    const float r = m_pLuminanceRSlider->GetValueF();
    const float g = m_pLuminanceGSlider->GetValueF();
    const float b = m_pLuminanceBSlider->GetValueF();
    const int w = m_pLuminanceColorLabel->width();
    const int h = m_pLuminanceColorLabel->height();
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    if (!m_pColorCircleBuffer) {
        m_pColorCircleBuffer = new uint32_t[n];
        MP_UI_argb_paintColorCircle(m_pColorCircleBuffer, w, h, w);
        ShowPicture(m_pLuminanceColorLabel, m_pColorCircleBuffer, w, h);
    }
    std::vector<uint32_t> grey(n);
    MP_UI_argb_paintColorCircleGreyscale(grey.data(), w, h, w, r, g, b);
    ShowPicture(m_pLuminanceGrayLabel, grey.data(), w, h);
    anythingChanged();
}

// ---- defaults, apply, reload ------------------------------------------------------------------

void HDROptionsWindow::defaultClickedSelective(bool programPage, bool calcPage)
{
    if (programPage) {
        for (int i = 0; i < 4; ++i) {
            m_pPathEdit[i]->setText(QString());
            m_pExternalEdit[i]->setText(QLatin1String(kFactoryExternals[i]));
        }
        m_iExternalIndex = 0;
        for (int i = 0; i < 4; ++i) {
            if (!m_pExternalEdit[i]->text().isEmpty()) {
                m_iExternalIndex = i;
                break;
            }
        }
        CheckExternalBox(m_iExternalIndex);
        m_pOpenCLCheckBox->setChecked(m_pOpenCLCheckBox->isEnabled());
        m_pGammaSpinBox->setValue(2.2);
        m_pGammaViewCheckBox->setChecked(false);
        m_pCompressionSlider->SetValueF(0.2f);
        m_pUndoSaveCheckBox->setChecked(true);
        if (m_dCapacity > 0)
            m_pUndoSafetySpinBox->setValue(static_cast<int>(m_dCapacity / 10));
        m_pUndoMaxAmount->setCurrentIndex(5);
        m_pPreviewSizeSpinBox->setValue(1.0);
        SetPreviewMode(0);
    }
    if (calcPage) {
        m_pQualitySlider->SetValueInt(m_pQualitySlider->GetCenterValueInt());
        m_pSuperquadricSlider->SetValueInt(m_pSuperquadricSlider->GetCenterValueInt());
        for (int i = 0; i < 4; ++i)
            m_pSampleRateButton[i]->setChecked(i == 1);
        qualityChanged();
        m_pLuminancePresetsComboBox->setCurrentIndex(1);
        luminancePresetSelected();
    }
}

void HDROptionsWindow::FromLocale()
{
    const int index = m_pLanguageComboBox->findData(COptions::getInstance()->m_strLocale);
    if (index >= 0)
        m_pLanguageComboBox->setCurrentIndex(index);
}

void HDROptionsWindow::applyClicked()
{
    m_bApplied = true;
    QSettings ini(OptionsIniPath(), QSettings::IniFormat);
    ini.clear();

    for (int i = 0; i < 4; ++i)
        ini.setValue(QLatin1String(kPathKeys[i]), m_pPathEdit[i]->text());
    for (int i = 0; i < 4; ++i)
        ini.setValue(QLatin1String(kExternalKeys[i]), m_pExternalEdit[i]->text());
    ini.setValue(QStringLiteral("external/index"), m_iExternalIndex);

    ini.setValue(QStringLiteral("gamma/value"), m_pGammaSpinBox->value());
    MP_UI_SetHDRGammaValue(static_cast<float>(m_pGammaSpinBox->value()));
    ini.setValue(QStringLiteral("gamma/view"), m_pGammaViewCheckBox->isChecked());

    COptions::getInstance()->SetLocale(m_pLanguageComboBox->currentData().toString());

    MP_UI_SetCalcForceMode(m_pOpenCLCheckBox->checkState() != Qt::Checked ? 1 : 0);
    ini.setValue(QStringLiteral("OpenCL/activated"), static_cast<int>(m_pOpenCLCheckBox->checkState()));

    const float compression = m_pCompressionSlider->GetValueF();
    MP_UI_SetCompressionLevel(static_cast<int>(compression * 5.0f));
    ini.setValue(QStringLiteral("compression/level"), floatText(compression));

    ini.setValue(QStringLiteral("compression/undosave"), m_pUndoSaveCheckBox->isChecked());
    MP_UI_SetSaveTimeLineMode(0);
    ini.setValue(QStringLiteral("compression/undoamountindex"), m_pUndoMaxAmount->currentIndex());
    ini.setValue(QStringLiteral("compression/undosafetymem"), m_pUndoSafetySpinBox->value());

    ini.setValue(QStringLiteral("previewsize/value"), m_pPreviewSizeSpinBox->value());
    MP_UI_SetPreviewSize(static_cast<float>(m_pPreviewSizeSpinBox->value()));
    const int mode = m_pPreviewFastButton->isChecked() ? 2 : (m_pPreview11Button->isChecked() ? 1 : 0);
    ini.setValue(QStringLiteral("previewsize/mode"), mode);
    MP_UI_SetPreviewScaleMode(mode);

    const float q = m_pQualitySlider->GetValueF();
    MP_UI_SetCalculationQuality(std::pow(q * 0.75f + 0.25f, 1.464f));
    ini.setValue(QStringLiteral("quality/quality"), floatText(q));
    const float k = m_pSuperquadricSlider->GetValueF();
    MP_UI_SetKernelExponent((1.0f - k) * 7.0f);
    ini.setValue(QStringLiteral("quality/kernelexp"), floatText(k));

    float rate = m_pSampleRateButton[0]->isChecked() ? SampleRate(0) : SampleRate(1);
    for (int i = 1; i < 4; ++i) {
        if (m_pSampleRateButton[i]->isChecked())
            rate = SampleRate(i);
    }
    MP_UI_SetKernelSampleRate(rate);
    ini.setValue(QStringLiteral("quality/samplerate"), floatText(rate));

    float r = m_pLuminanceRSlider->GetValueF();
    float g = m_pLuminanceGSlider->GetValueF();
    float b = m_pLuminanceBSlider->GetValueF();
    if (!(r + g + b > 0.0f)) {
        // Weights of zero would make every luminance zero: take "Linear".
        const bool blocked = m_pLuminancePresetsComboBox->blockSignals(true);
        m_pLuminancePresetsComboBox->setCurrentIndex(1);
        m_pLuminancePresetsComboBox->blockSignals(blocked);
        MP_UI_GetLuminanzConvFromType(1, &r, &g, &b);
    }
    ini.setValue(QStringLiteral("luminance/preset"), m_pLuminancePresetsComboBox->currentIndex());
    MP_UI_SetLuminanzConvRGB(r, g, b);
    MP_UI_GetLuminanzConvRGB(&r, &g, &b);
    m_pLuminanceRSlider->SetValueF(r);
    m_pLuminanceGSlider->SetValueF(g);
    m_pLuminanceBSlider->SetValueF(b);
    ini.setValue(QStringLiteral("luminance/r"), floatText(r));
    ini.setValue(QStringLiteral("luminance/g"), floatText(g));
    ini.setValue(QStringLiteral("luminance/b"), floatText(b));

    ini.sync();
    if (ini.status() != QSettings::NoError) {
        HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"),
                          tr("Die Einstellungen konnten nicht gespeichert werden: %1")
                              .arg(QDir::toNativeSeparators(OptionsIniPath())),
                          QString(), tr("Ok"));
        box.exec();
    }
    m_pApplyButton->setEnabled(false);
}

void HDROptionsWindow::FromSettings()
{
    QSettings ini(OptionsIniPath(), QSettings::IniFormat);

    for (int i = 0; i < 4; ++i)
        m_pPathEdit[i]->setText(ini.value(QLatin1String(kPathKeys[i])).toString());
    m_pExternalEdit[0]->setText(ini.value(QLatin1String(kExternalKeys[0])).toString());
    for (int i = 1; i < 4; ++i) {
        if (ini.contains(QLatin1String(kExternalKeys[i])))
            m_pExternalEdit[i]->setText(ini.value(QLatin1String(kExternalKeys[i])).toString());
    }

    m_iExternalIndex = 0;
    int index = 0;
    if (readInt(ini, "external/index", &index))
        m_iExternalIndex = (index < 0 || index > 3) ? 0 : index;
    CheckExternalBox(m_iExternalIndex);

    double value = 0.0;
    if (readNumber(ini, "gamma/value", &value))
        m_pGammaSpinBox->setValue(value);
    m_pGammaViewCheckBox->setChecked(ini.contains(QStringLiteral("gamma/view")) &&
                                     ini.value(QStringLiteral("gamma/view")).toBool());

    FromLocale();

    if (!m_pOpenCLCheckBox->isEnabled())
        m_pOpenCLCheckBox->setChecked(false);
    else
        m_pOpenCLCheckBox->setChecked(ini.value(QStringLiteral("OpenCL/activated"), false).toBool());
    if (MP_UI_GetCalcForceMode() == 0)
        m_pOpenCLCheckBox->setChecked(true);

    if (readNumber(ini, "compression/level", &value)) {
        m_pCompressionSlider->SetValueF(static_cast<float>(value));
        CompressionLevelChanged();
    }
    if (ini.contains(QStringLiteral("compression/undosave"))) {
        m_pUndoSaveCheckBox->setChecked(ini.value(QStringLiteral("compression/undosave")).toBool());
        UndoSaveChanged();
    }
    // An index outside the list would leave no undo limit selected.
    if (readInt(ini, "compression/undoamountindex", &index) && index >= 0 && index < m_pUndoMaxAmount->count())
        m_pUndoMaxAmount->setCurrentIndex(index);
    if (readNumber(ini, "compression/undosafetymem", &value))
        m_pUndoSafetySpinBox->setValue(value);

    if (readNumber(ini, "previewsize/value", &value))
        m_pPreviewSizeSpinBox->setValue(value);
    int mode = 0;
    if (readInt(ini, "previewsize/mode", &mode)) {
        SetPreviewMode(mode);
        MP_UI_SetPreviewScaleMode(mode);
    }

    if (readNumber(ini, "quality/quality", &value))
        m_pQualitySlider->SetValueF(static_cast<float>(value));
    if (readNumber(ini, "quality/kernelexp", &value))
        m_pSuperquadricSlider->SetValueF(static_cast<float>(value));
    if (readNumber(ini, "quality/samplerate", &value)) {
        bool any = false;
        for (int i = 0; i < 4; ++i) {
            const bool hit = std::fabs(static_cast<float>(value) - SampleRate(i)) < 0.01f;
            m_pSampleRateButton[i]->setChecked(hit);
            any = any || hit;
        }
        if (!any)
            m_pSampleRateButton[1]->setChecked(true);
        qualityChanged();
    }

    int preset = 0;
    if (readInt(ini, "luminance/preset", &preset)) {
        m_pLuminancePresetsComboBox->setCurrentIndex((preset < 0 || preset > 3) ? 0 : preset);
        if (readNumber(ini, "luminance/r", &value))
            m_pLuminanceRSlider->SetValueF(static_cast<float>(value));
        if (readNumber(ini, "luminance/g", &value))
            m_pLuminanceGSlider->SetValueF(static_cast<float>(value));
        if (readNumber(ini, "luminance/b", &value))
            m_pLuminanceBSlider->SetValueF(static_cast<float>(value));
        luminanceUpdated();
    }
}
