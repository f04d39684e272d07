#include "ui/postprocessing/hdroperatordockwidget.h"

#include "engine/core/statistics.h"
#include "engine/draw/painters.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/postprocessing/presetsseams.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/resourceinit.h"
#include "ui/toolkit/styleengine.h"

#include "document/exposureseries.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDomDocument>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

HDROperatorDockWidget* g_pHDROperatorDockWidget = nullptr;

// Row 0 stands for no entry; rows 1..64 each have a combo text.
const float HDRpresets[HDR_PRESET_ROWS][6] = {
    {-1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 0.01f, 0.0f, 0.2f, 0.5f, 0.0f},
    {1.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.0f},
    {1.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {1.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {1.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {2.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.0f},
    {2.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {2.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {2.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {3.0f, 0.01f, 0.2f, 0.0f, 0.5f, 0.25f},
    {3.0f, 0.01f, 0.2f, 0.0f, 0.5f, 0.5f},
    {3.0f, 0.01f, 0.2f, 0.1f, 0.5f, 1.0f},
    {4.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {4.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {4.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {5.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {5.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {5.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {6.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {6.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {6.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {7.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {7.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {7.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {8.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {8.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {8.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {9.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {9.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {9.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {10.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.0f},
    {10.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {10.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {10.0f, 0.01f, 0.5f, 0.1f, 0.5f, 0.75f},
    {11.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {11.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {11.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {12.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.25f},
    {12.0f, 0.01f, 0.5f, 0.0f, 0.5f, 0.5f},
    {12.0f, 0.01f, 0.5f, 0.1f, 0.5f, 1.0f},
    {13.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {13.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {13.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
    {14.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {14.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {14.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
    {15.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {15.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {15.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
    {16.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {16.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {16.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
    {17.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {17.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {17.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
    {18.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {18.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {18.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
    {19.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {19.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {19.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
    {20.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.25f},
    {20.0f, 0.75f, 0.0f, 0.0f, 0.0f, 0.5f},
    {20.0f, 0.75f, 0.0f, 0.0f, 0.0f, 1.0f},
};

const char* const HDRpresetTexts[HDR_PRESET_ROWS] = {
    nullptr,
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Durchschintt"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Entropie scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Entropie normal"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Entropie weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Entropie sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumDist scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumDist normal"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumDist weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumDist sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Farbmix scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Farbmix weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Farbmix sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumEntr scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumEntr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumEntr sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumRGB scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumRGB weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset LumRGB sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset linLum scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset linLum weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset linLum sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset logLum scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset logLum weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset logLum sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset quadLum scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset quadLum weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset quadLum sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Sat scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Sat weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Sat sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset absDist scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset absDist normal"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset absDist weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset absDist sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Detail scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Detail weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset Detail sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset rgbDetail scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset rgbDetail weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset rgbDetail sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackMSE scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackMSE weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackMSE sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackMCE scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackMCE weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackMCE sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackPMSE scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackPMSE weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackPMSE sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackPMCE scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackPMCE weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackPMCE sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackLin scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackLin weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackLin sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackLum scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackLum weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackLum sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackRGB scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackRGB weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackRGB sehr weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackVar scharf"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackVar weich"),
    QT_TRANSLATE_NOOP("HDROperatorDockWidget", "HDR Preset FocusStackVar sehr weich"),
};

namespace {

QString CatalogueText(const QString& key)
{
    return QCoreApplication::translate("HDROperators.xml", key.toUtf8().constData());
}

// Reads an integer attribute; a text that is no integer reads 0.
int IntAttribute(const QDomElement& e, const char* name)
{
    bool ok = false;
    const int v = e.attribute(QLatin1String(name)).toInt(&ok);
    return ok ? v : 0;
}

bool IsVisible(const QDomElement& e) { return e.attribute(QStringLiteral("visible"), QStringLiteral("1")) == "1"; }

} // namespace

// ---- operator list --------------------------------------------------------------

void _QListWidgetWithContextMenu::contextMenuEvent(QContextMenuEvent* event)
{
    m_pContextItem = itemAt(event->pos());
    if (m_pContextItem) {
        QMenu menu(this);
        menu.addAction(m_pResetAction);
        if (m_fnExecMenu) {
            if (m_fnExecMenu(&menu, event->globalPos()) && m_pResetAction)
                m_pResetAction->trigger();
        } else {
            menu.exec(event->globalPos());
        }
    }
    QListWidget::contextMenuEvent(event);
}

void _QListWidgetWithContextMenu::contextClick()
{
    if (sender() == m_pResetAction)
        emit itemContextResetClicked(m_pContextItem);
}

// ---- construction ---------------------------------------------------------------

HDROperatorDockWidget::HDROperatorDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags,
                                             const QString& catalogue)
    : HDRDockWidget(title, parent, flags)
{
    // The catalogue.
    LumivexInitResources();
    QDomDocument doc;
    QFile file(catalogue);
    if (file.open(QIODevice::ReadOnly)) {
        QString message;
        int line = 0, column = 0;
        if (!doc.setContent(&file, &message, &line, &column)) {
            std::printf("ERROR in HDROperators.xml: %s at line %i column %i\n", qPrintable(message), line, column);
            std::fflush(stdout);
            doc = QDomDocument();
        }
    }

    QVBoxLayout* content = GetContentLayout();
    content->setSizeConstraint(QLayout::SetFixedSize);
    content->setSpacing(14);
    content->setContentsMargins(9, 11, 7, 11);

    m_pOperatorList = new _QListWidgetWithContextMenu(this);
    m_pOperatorList->setObjectName(QStringLiteral("hdr_operator_list"));
    m_pOperatorList->m_pResetAction =
        new QAction(QIcon::fromTheme(QStringLiteral("KontextMenuToDefault"), QIcon()),
                    QCoreApplication::translate("_QListWidgetWithContextMenu", "zurücksetzen"), m_pOperatorList);
    connect(m_pOperatorList->m_pResetAction, SIGNAL(triggered()), m_pOperatorList, SLOT(contextClick()));
    m_pOperatorList->setFixedWidth(GetContentWidget()->width() - 20);

    // Operator rows: visible operators up to version 300.
    std::vector<QDomElement> rows;
    for (QDomElement e = doc.documentElement().firstChildElement(QStringLiteral("operator")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("operator"))) {
        const QString name = CatalogueText(e.attribute(QStringLiteral("name")));
        const QString kernel = e.attribute(QStringLiteral("kernel"));
        if (!IsVisible(e) || IntAttribute(e, "version") > 300)
            continue;
        ++m_uiOperatorCount;
        auto* item = new QListWidgetItem(name);
        item->setData(Qt::UserRole, kernel);
        m_pOperatorList->addItem(item);
        if (m_pOperatorList->count() == 1)
            m_pOperatorList->setCurrentRow(0);
        rows.push_back(e);
    }
    m_pOperatorList->setFixedHeight(int(m_uiOperatorCount + 1) * 18);
    m_pppParameterSliders = new HDRSlider**[m_uiOperatorCount > 0 ? m_uiOperatorCount : 1];
    for (unsigned int r = 0; r < m_uiOperatorCount; ++r) {
        m_pppParameterSliders[r] = new HDRSlider*[HDR_OPERATOR_SLOTS];
        for (int s = 0; s < HDR_OPERATOR_SLOTS; ++s)
            m_pppParameterSliders[r][s] = nullptr;
    }

    // "HDR Presets".
    m_pPresetGroupBox = new QGroupBox(tr("HDR Presets"), this);
    m_pPresetGroupBox->setObjectName(QStringLiteral("hdr_preset_group"));
    content->addWidget(m_pPresetGroupBox);
    content->addWidget(m_pOperatorList);
    m_pPresetGroupBox->setFixedHeight(50);
    m_pPresetGroupBox->setToolTip(_gui::HtmlToolTip(tr("tooltip HDRPreset Groupbox")));
    auto* presetLayout = new QVBoxLayout(m_pPresetGroupBox);
    presetLayout->setContentsMargins(4, 1, 4, 5);
    m_pPresetComboBox = new QComboBox(m_pPresetGroupBox);
    m_pPresetComboBox->setObjectName(QStringLiteral("hdr_preset_combo"));
    m_pPresetComboBox->setFixedWidth(282);
    presetLayout->addWidget(m_pPresetComboBox);
    for (int r = 1; r < HDR_PRESET_ROWS; ++r) {
        if (int(HDRpresets[r][0]) < int(m_uiOperatorCount))
            m_pPresetComboBox->addItem(tr(HDRpresetTexts[r]));
    }
    m_pPresetComboBox->setMaxVisibleItems(41);
    ResetPreset();
    connect(m_pPresetComboBox, SIGNAL(currentIndexChanged(int)), this, SLOT(comboBoxIndexChanged(int)));

    content->addSpacing(15);

    // Smoothing.
    m_pSmoothingGroupBox = new QGroupBox(QString(), this);
    content->addWidget(m_pSmoothingGroupBox);
    m_pSmoothingGroupBox->setFixedHeight(50);
    m_pSmoothingGroupBox->setToolTip(_gui::HtmlToolTip(tr("tooltip HDRSmoothing Groupbox")));
    auto* smoothingLayout = new QVBoxLayout(m_pSmoothingGroupBox);
    smoothingLayout->setContentsMargins(4, 1, 4, 5);
    m_pSmoothingComboBox = new QComboBox(m_pSmoothingGroupBox);
    smoothingLayout->addWidget(m_pSmoothingComboBox);
    connect(m_pSmoothingComboBox, SIGNAL(currentIndexChanged(int)), this, SLOT(smoothingSelected(int)));

    // Parameter pages.
    m_pParameterGroupBox = new QGroupBox(QString(), this);
    content->addWidget(m_pParameterGroupBox);
    auto* parameterLayout = new QVBoxLayout(m_pParameterGroupBox);
    parameterLayout->setContentsMargins(0, 0, 0, 0);
    m_pParameterStack = new QStackedWidget(m_pParameterGroupBox);
    parameterLayout->addWidget(m_pParameterStack);
    connect(m_pOperatorList, SIGNAL(currentRowChanged(int)), m_pParameterStack, SLOT(setCurrentIndex(int)));
    connect(m_pOperatorList, SIGNAL(currentRowChanged(int)), this, SLOT(operatorSelected(int)));
    connect(m_pOperatorList, SIGNAL(itemDoubleClicked(QListWidgetItem*)), this,
            SLOT(itemDoubleClicked(QListWidgetItem*)));
    connect(m_pOperatorList, SIGNAL(itemContextResetClicked(QListWidgetItem*)), this,
            SLOT(itemDoubleClicked(QListWidgetItem*)));
    m_pOperatorList->setMouseTracking(true);
    connect(m_pOperatorList, SIGNAL(itemEntered(QListWidgetItem*)), this, SLOT(listItemEntered(QListWidgetItem*)));

    for (unsigned int r = 0; r < m_uiOperatorCount; ++r) {
        auto* page = new QWidget();
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        m_pParameterStack->addWidget(page);
        m_pParameterStack->setStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(
            QStringLiteral("QWidget { background-color: transparent; } QToolTip { background: "
                           "qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #STYLE_BACKGROUND+3, stop: 1 "
                           "#STYLE_BACKGROUND+2); }")));
        std::vector<QDomElement> parameters;
        for (QDomElement p = rows[r].firstChildElement(QStringLiteral("parameter")); !p.isNull();
             p = p.nextSiblingElement(QStringLiteral("parameter")))
            parameters.push_back(p);
        const int count = int(parameters.size());
        for (int k = 0; k < count; ++k) {
            for (int s = 0; s < count; ++s) {
                const QDomElement& p = parameters[size_t(s)];
                if (IntAttribute(p, "order") != k)
                    continue;
                const QString type = p.attribute(QStringLiteral("type"), QStringLiteral("slider"));
                if (!IsVisible(p) || type != QLatin1String("slider") || s >= HDR_OPERATOR_SLOTS)
                    continue;
                const int grating = IntAttribute(p, "grating");
                auto* slider = new HDRSlider(page, CatalogueText(p.attribute(QStringLiteral("name"))),
                                             CatalogueText(p.attribute(QStringLiteral("low"))),
                                             CatalogueText(p.attribute(QStringLiteral("high"))),
                                             p.attribute(QStringLiteral("unit")), IntAttribute(p, "min"),
                                             IntAttribute(p, "max"), 5, unsigned(grating > 0 ? grating : 0), false,
                                             CatalogueText(p.attribute(QStringLiteral("style"))), false);
                m_pppParameterSliders[r][s] = slider;
                pageLayout->addWidget(slider);
                slider->setToolTip(_gui::HtmlToolTip(CatalogueText(p.attribute(QStringLiteral("tooltip")))));
                const float def = p.attribute(QStringLiteral("default")).toFloat();
                slider->SetValueF(def);
                slider->SetCenterValueF(def);
                connect(slider, SIGNAL(valueUpdated()), this, SLOT(parameterSliderValueChanged()));
            }
        }
    }

    // "HDR-Dynamik".
    m_pSigmoidGroupBox = new QGroupBox(tr("HDR-Dynamik"), this);
    content->addWidget(m_pSigmoidGroupBox);
    auto* sigmoidLayout = new QVBoxLayout(m_pSigmoidGroupBox);
    sigmoidLayout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pSigmoidSlider = new HDRSlider(this, tr("Kompression"), tr("-"), tr("+"), QStringLiteral("%"), -100, 100, 10, 1,
                                     false, QStringLiteral(" "), false);
    m_pSigmoidSlider->setToolTip(_gui::HtmlToolTip(tr("HDR Dynamik Slider Tooltip")));
    m_pSigmoidSlider->SetValueF(0.5f);
    m_pSigmoidSlider->SetCenterValueF(0.5f);
    connect(m_pSigmoidSlider, SIGNAL(valueUpdated()), this, SLOT(sigmoidSliderValueChanged()));
    sigmoidLayout->addWidget(m_pSigmoidSlider);
    auto* buttonRow = new QHBoxLayout();
    m_pSigmoidHighButton = new QPushButton(tr("Hochkontrast"), this);
    m_pSigmoidHighButton->setFixedSize(85, 20);
    m_pSigmoidHighButton->setToolTip(_gui::HtmlToolTip(tr("Tooltip Sigmoid Hochkontrast Button")));
    connect(m_pSigmoidHighButton, SIGNAL(clicked()), this, SLOT(sigmoidDarkButtonClicked()));
    buttonRow->addWidget(m_pSigmoidHighButton, 0, Qt::AlignLeft);
    m_pSigmoidOptimalButton = new QPushButton(tr("Optimal"), this);
    m_pSigmoidOptimalButton->setFixedSize(70, 20);
    m_pSigmoidOptimalButton->setToolTip(_gui::HtmlToolTip(tr("Tooltip Sigmoid Optimal Button")));
    connect(m_pSigmoidOptimalButton, SIGNAL(clicked()), this, SLOT(sigmoidOptimalButtonClicked()));
    buttonRow->addWidget(m_pSigmoidOptimalButton, 0, Qt::AlignHCenter);
    m_pSigmoidCompressedButton = new QPushButton(tr("Komprimiert"), this);
    m_pSigmoidCompressedButton->setFixedSize(85, 20);
    m_pSigmoidCompressedButton->setToolTip(_gui::HtmlToolTip(tr("Tooltip Sigmoid Komprimiert Button")));
    connect(m_pSigmoidCompressedButton, SIGNAL(clicked()), this, SLOT(sigmoidBrightButtonClicked()));
    buttonRow->addWidget(m_pSigmoidCompressedButton, 0, Qt::AlignRight);
    sigmoidLayout->addLayout(buttonRow);
    m_pSigmoidCurveLabel = new QLabel(this);
    m_pSigmoidCurveLabel->setFixedSize(255, 150);
    m_pSigmoidCurveLabel->setToolTip(_gui::HtmlToolTip(tr("tooltip HDR Dynamik Label Tooltip")));
    sigmoidLayout->addWidget(m_pSigmoidCurveLabel);
    m_pDynamicRangeLabel = new QLabel(this);
    m_pDynamicRangeLabel->setFixedSize(255, 20);
    m_pDynamicRangeLabel->setToolTip(_gui::HtmlToolTip(tr("tooltip HDR Dynamik anzeige")));
    sigmoidLayout->addWidget(m_pDynamicRangeLabel);
    UpdateHDRSigmoidLabel();
    m_pSigmoidGroupBox->hide();

    // "Tiefenkarte".
    m_pDepthmapGroupBox = new QGroupBox(tr("Tiefenkarte"), this);
    content->addWidget(m_pDepthmapGroupBox);
    auto* depthLayout = new QVBoxLayout(m_pDepthmapGroupBox);
    depthLayout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pDepthmapInvertButton = new QPushButton(tr("Tiefenkarte invertieren"), this);
    m_pDepthmapInvertButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Tiefenkarte invertieren checkbox")));
    m_pDepthmapInvertButton->setFixedHeight(24);
    m_pDepthmapInvertButton->setCheckable(true);
    m_pDepthmapInvertButton->setChecked(false);
    connect(m_pDepthmapInvertButton, SIGNAL(clicked()), this, SLOT(depthmapInvertButtonClicked()));
    depthLayout->addWidget(m_pDepthmapInvertButton);
    m_pDepthmapSmoothSlider = new HDRSlider(this, tr("Depthmap Glättung"), tr("-"), tr("+"), QStringLiteral("%"), 0,
                                            100, 10, 1, false, QStringLiteral(" "), false);
    m_pDepthmapSmoothSlider->setToolTip(_gui::HtmlToolTip(tr("Tooltip Depthmap Smooth Slider")));
    m_pDepthmapSmoothSlider->SetValueF(0.5f);
    m_pDepthmapSmoothSlider->SetCenterValueF(0.5f);
    connect(m_pDepthmapSmoothSlider, SIGNAL(valueUpdated()), this, SLOT(depthmapSmoothSliderValueChanged()));
    depthLayout->addWidget(m_pDepthmapSmoothSlider);
    m_pDepthmapSaveButton = new QPushButton(QIcon::fromTheme(QStringLiteral("TiefenkarteSpeichern"), QIcon()),
                                            tr("Tiefenkarte speichern"), this);
    m_pDepthmapSaveButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Tiefenkarte speichern button")));
    m_pDepthmapSaveButton->setFixedHeight(30);
    connect(m_pDepthmapSaveButton, SIGNAL(clicked()), this, SLOT(depthmapSaveButtonClicked()));
    depthLayout->addWidget(m_pDepthmapSaveButton);
    m_pDepthmapGroupBox->hide();

    // The parent's slots of the same names, when it has them.
    if (parent) {
        const QMetaObject* meta = parent->metaObject();
        if (meta->indexOfSlot("operatorUpdated()") >= 0)
            connect(this, SIGNAL(operatorUpdated()), parent, SLOT(operatorUpdated()));
        if (meta->indexOfSlot("operatorUpdatedForced()") >= 0)
            connect(this, SIGNAL(operatorUpdatedForced()), parent, SLOT(operatorUpdatedForced()));
    }

    m_pPresetComboBox->setFixedWidth(width() - 40);
    m_pOperatorList->hide();
    m_pSmoothingGroupBox->hide();
    m_pParameterGroupBox->hide();
    setFixedHeight(90);
    m_pSigmoidGroupBox->hide();

    g_pHDROperatorDockWidget = this;
    CDocumentSettings::SetSigmoidSource(this);
    GetContentWidget()->adjustSize();
}

HDROperatorDockWidget::~HDROperatorDockWidget()
{
    if (g_pHDROperatorDockWidget == this)
        g_pHDROperatorDockWidget = nullptr;
    ISigmoidSource* previous = CDocumentSettings::SetSigmoidSource(nullptr);
    if (previous != this)
        CDocumentSettings::SetSigmoidSource(previous);
    for (unsigned int r = 0; r < m_uiOperatorCount; ++r)
        delete[] m_pppParameterSliders[r];
    delete[] m_pppParameterSliders;
}

// ---- the choice ------------------------------------------------------------------

HDRSlider* HDROperatorDockWidget::Slider(int row, int slot) const
{
    if (!m_pppParameterSliders || row < 0 || row >= int(m_uiOperatorCount) || slot < 0 ||
        slot >= HDR_OPERATOR_SLOTS)
        return nullptr;
    return m_pppParameterSliders[row][slot];
}

int HDROperatorDockWidget::CurrentPresetRow() const
{
    const int index = m_pPresetComboBox ? m_pPresetComboBox->currentIndex() : -1;
    const int row = index + 1;
    return (row >= 0 && row < HDR_PRESET_ROWS) ? row : 0;
}

QString HDROperatorDockWidget::GetKernelName() const
{
    QListWidgetItem* item = m_pOperatorList ? m_pOperatorList->currentItem() : nullptr;
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void HDROperatorDockWidget::GetParameterValues(float* values) const
{
    std::memset(values, 0, sizeof(float) * HDR_OPERATOR_SLOTS * HDR_PARAMETER_VALUES);
    const int row = m_pOperatorList ? m_pOperatorList->currentRow() : -1;
    for (int s = 0; s < HDR_OPERATOR_SLOTS; ++s) {
        if (HDRSlider* slider = Slider(row, s))
            values[s * HDR_PARAMETER_VALUES] = slider->GetValueF();
    }
}

void HDROperatorDockWidget::GetParameterValues(float values[10][256]) const { GetParameterValues(&values[0][0]); }

float HDROperatorDockWidget::GetSigmoidValue() const { return m_pSigmoidSlider->GetValueF(); }

void HDROperatorDockWidget::comboBoxIndexChanged(int index)
{
    const int tableRow = index + 1;
    if (tableRow < 0 || tableRow >= HDR_PRESET_ROWS)
        return;
    const float* row = HDRpresets[tableRow];
    const int op = int(row[0]);
    if (op < 0)
        return;
    for (int s = 0; s < 5; ++s) {
        if (HDRSlider* slider = Slider(op, s))
            slider->SetValueF(row[1 + s]);
    }
    m_pOperatorList->setCurrentRow(op);
    updateSmoothingComboBox();
    emit operatorUpdated();
}

bool HDROperatorDockWidget::IsChangedToPreset() const
{
    const float* row = HDRpresets[CurrentPresetRow()];
    const int op = int(row[0]);
    bool changed = false;
    if (op >= 0) {
        for (int s = 0; s < 5; ++s) {
            if (HDRSlider* slider = Slider(op, s)) {
                if (slider->GetValueF() != row[1 + s])
                    changed = true;
            }
        }
    }
    return m_pOperatorList->currentRow() == op ? changed : true;
}

void HDROperatorDockWidget::ManualChange(bool rowChanged)
{
    if (IsChangedToPreset())
        m_pPresetComboBox->setCurrentIndex(0);
    updateSmoothingComboBox();
    if (rowChanged) {
        QListWidgetItem* item = m_pOperatorList->currentItem();
        m_pParameterGroupBox->setTitle(item ? item->text() : QString());
    }
    emit operatorUpdated();
}

void HDROperatorDockWidget::operatorSelected(int) { ManualChange(true); }

void HDROperatorDockWidget::parameterSliderValueChanged() { ManualChange(false); }

void HDROperatorDockWidget::itemDoubleClicked(QListWidgetItem* item)
{
    if (item)
        ResetValues(unsigned(m_pOperatorList->row(item)));
    ManualChange(false);
}

void HDROperatorDockWidget::smoothingSelected(int index)
{
    if (index < 1)
        return;
    if (HDRSlider* slider = Slider(m_pOperatorList->currentRow(), 4))
        slider->SetValueF(m_pSmoothingComboBox->itemData(index).toFloat());
    const bool blocked = m_pPresetComboBox->blockSignals(true);
    m_pPresetComboBox->setCurrentIndex(0);
    m_pPresetComboBox->blockSignals(blocked);
    emit operatorUpdated();
}

void HDROperatorDockWidget::updateSmoothingComboBox()
{
    QListWidgetItem* item = m_pOperatorList->currentItem();
    m_pSmoothingGroupBox->setTitle(tr("Glättung") + QLatin1Char(' ') + (item ? item->text() : QString()));
    const bool blocked = m_pSmoothingComboBox->blockSignals(true);
    m_pSmoothingComboBox->clear();
    m_pSmoothingComboBox->addItem(tr("individuell"), -1.0f);
    const int row = m_pOperatorList->currentRow();
    if (row <= 0) {
        m_pSmoothingComboBox->setEnabled(false);
        m_pSmoothingComboBox->blockSignals(blocked);
        return;
    }
    m_pSmoothingComboBox->setEnabled(true);
    float choices[4] = {0.25f, 0.35f, 0.5f, 1.0f};
    if (row == 1 || row == 2 || row == 10) {
        const float v[4] = {0.0f, 0.25f, 0.5f, 0.75f};
        std::memcpy(choices, v, sizeof v);
    } else if (row <= 12) {
        const float v[4] = {0.1f, 0.25f, 0.5f, 1.0f};
        std::memcpy(choices, v, sizeof v);
    }
    const char* names[4] = {QT_TR_NOOP("scharf"), QT_TR_NOOP("normal"), QT_TR_NOOP("weich"), QT_TR_NOOP("sehr weich")};
    for (int i = 0; i < 4; ++i)
        m_pSmoothingComboBox->addItem(tr(names[i]), choices[i]);
    if (HDRSlider* slider = Slider(row, 4)) {
        const float v = slider->GetValueF();
        for (int i = 0; i < 4; ++i) {
            if (std::fabs(choices[i] - v) < 0.01f) {
                m_pSmoothingComboBox->setCurrentIndex(i + 1);
                break;
            }
        }
    }
    m_pSmoothingComboBox->blockSignals(blocked);
}

// ---- resets ----------------------------------------------------------------------

void HDROperatorDockWidget::ResetValues(unsigned int row)
{
    if (!m_pppParameterSliders || row >= m_uiOperatorCount)
        return;
    for (int s = 0; s < HDR_OPERATOR_SLOTS; ++s) {
        if (HDRSlider* slider = m_pppParameterSliders[row][s]) {
            const bool blocked = slider->blockSignals(true);
            slider->SetToCenterValue();
            slider->blockSignals(blocked);
        }
    }
}

void HDROperatorDockWidget::ResetAllValues()
{
    for (unsigned int r = 0; r < m_uiOperatorCount; ++r)
        ResetValues(r);
    m_pOperatorList->setCurrentRow(m_uiOperatorCount < 2 ? 0 : 1);
    m_pSigmoidSlider->SetToCenterValue();
    UpdateHDRSigmoidLabel();
}

void HDROperatorDockWidget::ResetPreset() { m_pPresetComboBox->setCurrentIndex(3); }

// ---- sigmoid, dynamic range, depth map --------------------------------------------

void HDROperatorDockWidget::UpdateHDRSigmoidLabel()
{
    std::vector<uint32_t> pixels(size_t(255) * 150);
    MP_UI_argb_paintHDRsigmoidCurve(pixels.data(), 255, 150, 255, m_pSigmoidSlider->GetValueF());
    QImage image(reinterpret_cast<const uchar*>(pixels.data()), 255, 150, 1020, QImage::Format_ARGB32);
    HDRPixmapCreator creator(&image);
    m_pSigmoidCurveLabel->setPixmap(creator.m_Pixmap);
}

void HDROperatorDockWidget::sigmoidSliderValueChanged()
{
    UpdateHDRSigmoidLabel();
    emit operatorUpdatedForced();
}

void HDROperatorDockWidget::sigmoidDarkButtonClicked()
{
    PresetsSeams::CountUsage("m_iHDRDynamicHighUsed");
    optimizeSigmoidByValue(6.0f);
}

void HDROperatorDockWidget::sigmoidOptimalButtonClicked()
{
    PresetsSeams::CountUsage("m_iHDRDynamicOptimalUsed");
    optimizeSigmoidByValue(2.2f);
}

void HDROperatorDockWidget::sigmoidBrightButtonClicked()
{
    PresetsSeams::CountUsage("m_iHDRDynamicCompressedUsed");
    optimizeSigmoidByValue(0.5f);
}

void HDROperatorDockWidget::optimizeSigmoidByValue(float exponent)
{
    float previous = -1.0f;
    for (int passes = 1;; ++passes) {
        int width = 0, height = 0;
        const unsigned short* buffer = nullptr;
        if (IPresetsHost* host = PresetsSeams::Host())
            buffer = host->GetActualHDRBuffer(&width, &height);
        const float L = MP_UI_GetAverageLuminanceFull(buffer, float(width), float(height));
        m_pSigmoidSlider->SetValueF(std::pow(1.0f - L, exponent));
        sigmoidSliderValueChanged();
        if (std::fabs(previous - L) <= 0.01f || passes >= 10)
            break;
        previous = L;
    }
}

void HDROperatorDockWidget::UpdateHDRContrastLabel()
{
    IPresetsHost* host = PresetsSeams::Host();
    if (!host || !host->Series())
        return;
    if (host->PreviewMode() && host->PreviewButtonVisible()) {
        m_pDynamicRangeLabel->setText(QStringLiteral("Dynamik: nur im Vollbild-Modus"));
        return;
    }
    const double R = host->DynamicRange();
    m_pDynamicRangeLabel->setText(QStringLiteral("Dynamik:") + QString::asprintf(" %.0lf:1 ", R) +
                                  QStringLiteral("(") + QString::asprintf("%5.2f", std::log2(R + 1.0)) +
                                  QStringLiteral(" EV)"));
}

void HDROperatorDockWidget::depthmapSmoothSliderValueChanged() { emit operatorUpdatedForced(); }

void HDROperatorDockWidget::depthmapInvertButtonClicked() { emit operatorUpdatedForced(); }

void HDROperatorDockWidget::depthmapSaveButtonClicked()
{
    if (IPresetsHost* host = PresetsSeams::Host())
        host->SaveDepthMap();
}

void HDROperatorDockWidget::listItemEntered(QListWidgetItem* item)
{
    if (!item)
        return;
    m_pOperatorList->setToolTip(
        _gui::HtmlToolTip(CatalogueText(QStringLiteral("tooltip ") + item->data(Qt::UserRole).toString())));
}

void HDROperatorDockWidget::GetInfoText(QString& text) { text = tr("HDROperatorDockWidget lumivex"); }

// ---- project ---------------------------------------------------------------------

bool HDROperatorDockWidget::SaveProject(QSettings& settings, const QString&) const
{
    settings.setValue(QStringLiteral("OperatorDock/Preset"), m_pPresetComboBox->currentIndex());
    settings.setValue(QStringLiteral("OperatorDock/Operator"), m_pOperatorList->currentRow());
    for (unsigned int r = 0; r < m_uiOperatorCount; ++r) {
        for (int s = 0; s < HDR_OPERATOR_SLOTS; ++s) {
            if (HDRSlider* slider = m_pppParameterSliders[r][s])
                settings.setValue(QString::asprintf("OperatorDock/Operator%04u/Parameter%04i", r, s),
                                  double(slider->GetValueF()));
        }
    }
    settings.setValue(QStringLiteral("OperatorDock/Sigmoid"), double(m_pSigmoidSlider->GetValueF()));
    settings.setValue(QStringLiteral("OperatorDock/DepthSmooth"), double(m_pDepthmapSmoothSlider->GetValueF()));
    settings.setValue(QStringLiteral("OperatorDock/DepthInverted"), m_pDepthmapInvertButton->isChecked());
    return true;
}

bool HDROperatorDockWidget::LoadProject(QSettings& settings, const QString&)
{
    const bool blocked = blockSignals(true);
    for (unsigned int r = 0; r < m_uiOperatorCount; ++r) {
        for (int s = 0; s < HDR_OPERATOR_SLOTS; ++s) {
            if (HDRSlider* slider = m_pppParameterSliders[r][s])
                slider->SetValueF(
                    settings.value(QString::asprintf("OperatorDock/Operator%04u/Parameter%04i", r, s), 0.0f)
                        .toFloat());
        }
    }
    // A stored row or entry outside the lists is clamped into them.
    if (m_uiOperatorCount > 0) {
        const int row = settings.value(QStringLiteral("OperatorDock/Operator"), 0).toInt();
        m_pOperatorList->setCurrentRow(qBound(0, row, int(m_uiOperatorCount) - 1));
    }
    if (m_pPresetComboBox->count() > 0) {
        const int entry = settings.value(QStringLiteral("OperatorDock/Preset"), 0).toInt();
        m_pPresetComboBox->setCurrentIndex(qBound(0, entry, m_pPresetComboBox->count() - 1));
    }
    if (settings.contains(QStringLiteral("OperatorDock/Sigmoid")))
        m_pSigmoidSlider->SetValueF(settings.value(QStringLiteral("OperatorDock/Sigmoid")).toFloat());
    else
        m_pSigmoidSlider->SetToCenterValue();
    UpdateHDRSigmoidLabel();
    if (settings.contains(QStringLiteral("OperatorDock/DepthSmooth")))
        m_pDepthmapSmoothSlider->SetValueF(settings.value(QStringLiteral("OperatorDock/DepthSmooth")).toFloat());
    else
        m_pDepthmapSmoothSlider->SetToCenterValue();
    m_pDepthmapInvertButton->setChecked(settings.value(QStringLiteral("OperatorDock/DepthInverted"), false).toBool());
    blockSignals(blocked);
    return true;
}
