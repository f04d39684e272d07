// The widget-free readers of the post-processing stage: the film-type table
// and the operator catalogue.

#include "document/postprocessing.h"

#include "engine/MP_calc.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QDomNodeList>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace {

void LogParseError(const char* file, const QString& message, int line, int column)
{
    std::printf("ERROR in %s: %s at line %d column %d\n", file, message.toUtf8().constData(), line, column);
    std::fflush(stdout);
}

// Decimal text as the loader reads it: text that does not convert reads as 0.
int ToInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

unsigned ToUInt(const QString& text)
{
    bool ok = false;
    const unsigned value = text.toUInt(&ok);
    return ok ? value : 0u;
}

float ToFloat(const QString& text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok && std::isfinite(value) ? value : 0.0f;
}

} // namespace

// Registers the compiled-in resources (Q_INIT_RESOURCE must stand outside any
// namespace).
#ifdef LUMIVEX_HAVE_RESOURCES
static void InitLumivexResources() { Q_INIT_RESOURCE(lumivex_resources); }
#endif

static void InitResources()
{
#ifdef LUMIVEX_HAVE_RESOURCES
    static std::once_flag once;
    std::call_once(once, InitLumivexResources);
#endif
}

// ---- Film types ---------------------------------------------------------------------

QString CFilmTypeTable::DefaultPath()
{
    QString folder = QCoreApplication::applicationDirPath();
    folder.truncate(folder.lastIndexOf(QLatin1Char('/')));
    return folder + QStringLiteral("/settings/") + QStringLiteral("/filmtypes_lumivex.xml");
}

bool CFilmTypeTable::Load(const QString& path)
{
    m_vecTypes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::printf("filmtypes: \n");
        std::fflush(stdout);
        return false;
    }
    return LoadFromData(file.readAll());
}

bool CFilmTypeTable::LoadFromData(const QByteArray& data)
{
    static const char* const kKeys[PP_FILMTYPE_VALUES] = {
        "gradation", "brightness", "contrast", "denoisesharp", "saturation", "temperature",
        "grainstrength", "grainsize", "pal_red", "pal_ora", "pal_yel", "pal_grn",
        "pal_cya", "pal_blu", "pal_pur", "pal_mag", "infrared"};
    m_vecTypes.clear();
    m_strError.clear();
    m_iErrorLine = m_iErrorColumn = 0;
    QDomDocument document;
    bool parsed = document.setContent(data, &m_strError, &m_iErrorLine, &m_iErrorColumn);
    if (!parsed) {
        LogParseError("filmtypes.xml", m_strError, m_iErrorLine, m_iErrorColumn);
        document = QDomDocument();
    }
    QByteArray line = "filmtypes: ";
    const QDomNodeList elements = document.documentElement().elementsByTagName(QStringLiteral("operator"));
    for (int i = 0; i < elements.count() && m_vecTypes.size() < PP_MAX_FILMTYPES; ++i) {
        const QDomElement element = elements.at(i).toElement();
        if (element.attribute(QStringLiteral("visible")) != QLatin1String("1") ||
            ToInt(element.attribute(QStringLiteral("version"))) > 300)
            continue;
        SFilmType type;
        type.name = element.attribute(QStringLiteral("name"));
        for (int v = 0; v < PP_FILMTYPE_VALUES; ++v)
            type.values[v] = ToFloat(element.attribute(QLatin1String(kKeys[v])));
        m_vecTypes.append(type);
        line += type.name.toUtf8() + ", ";
    }
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
    return parsed;
}

// ---- Operator catalogue -----------------------------------------------------------------

QString SCatalogueElement::Translated(const QString& key) const
{
    const QByteArray text = attributes.value(key).toUtf8();
    return QCoreApplication::translate("PPOperators.xml", text.constData());
}

bool CPPOperatorCatalogue::caseInsensitiveLessThan(const QString& a, const QString& b)
{
    return a.toLower() < b.toLower();
}

int CPPOperatorCatalogue::TypeCode(const QString& type)
{
    static const char* const kTypes[] = {"tonemapping", "enhance", "geometry", "exposure",
                                         "color",       "smooth",  "artwork"};
    for (int i = 0; i < 7; ++i)
        if (type == QLatin1String(kTypes[i]))
            return i;
    return -1;
}

float CPPOperatorCatalogue::SliderCenterFraction(int min, int max, float defaultFraction)
{
    if (max <= min)
        return 0.0f;
    const float f = std::isfinite(defaultFraction) ? std::clamp(defaultFraction, 0.0f, 1.0f) : 0.0f;
    const int centre = min + static_cast<int>(static_cast<float>(max - min) * f);
    return static_cast<float>(centre - min) / static_cast<float>(max - min);
}

bool CPPOperatorCatalogue::SplinePreset(unsigned kind, unsigned preset, float values[12])
{
    static const float kPresets[2][10][12] = {
        {{0, 0, 0.2f, 0.2f, 0.4f, 0.4f, 0.6f, 0.6f, 0.8f, 0.8f, 1, 1},
         {0, 0, 0.2f, 0.27f, 0.4f, 0.52f, 0.6f, 0.74f, 0.8f, 0.9f, 1, 1},
         {0, 0, 0.2f, 0.08f, 0.4f, 0.2f, 0.6f, 0.39f, 0.8f, 0.7f, 1, 1},
         {0, 0, 0.2f, 0.26f, 0.4f, 0.45f, 0.6f, 0.55f, 0.8f, 0.75f, 1, 1},
         {0, 0, 0.2f, 0.1f, 0.4f, 0.35f, 0.6f, 0.65f, 0.8f, 0.9f, 1, 1},
         {0, 0, 0.2f, 0.4f, 0.4f, 0.49f, 0.6f, 0.51f, 0.8f, 0.6f, 1, 1},
         {0, 0.2f, 0.2f, 0, 0.4f, 0.3f, 0.6f, 0.7f, 0.8f, 1, 1, 0.8f},
         {0, 0, 0.2f, 0.2f, 0.4f, 0.4f, 0.6f, 0.65f, 0.8f, 0.88f, 1, 1},
         {0, 0, 0.2f, 0.12f, 0.4f, 0.35f, 0.6f, 0.6f, 0.8f, 0.8f, 1, 1},
         {0, 0, 0.2f, 0.16f, 0.27f, 0.33f, 0.73f, 0.67f, 0.8f, 0.84f, 1, 1}},
        {{0, 1, 0.2f, 1, 0.4f, 1, 0.6f, 1, 0.8f, 1, 1, 1},
         {0, 0, 0.2f, 0.02f, 0.4f, 0.04f, 0.6f, 0.2f, 0.8f, 0.8f, 1, 1},
         {0, 0, 0.2f, 0.15f, 0.4f, 0.85f, 0.6f, 0.85f, 0.8f, 0.15f, 1, 0},
         {0, 1, 0.2f, 0.8f, 0.4f, 0.2f, 0.6f, 0.04f, 0.8f, 0.02f, 1, 0},
         {0, 1, 0.15f, 0.8f, 0.3f, 0.3f, 0.7f, 0.3f, 0.85f, 0.8f, 1, 1},
         {0, 0, 0.2f, 0.1f, 0.4f, 0.35f, 0.6f, 0.65f, 0.8f, 0.9f, 1, 1},
         {0, 1, 0.2f, 0.9f, 0.4f, 0.65f, 0.6f, 0.35f, 0.8f, 0.1f, 1, 0},
         {0, 1, 0.2f, 1, 0.4f, 1, 0.6f, 1, 0.8f, 0.8f, 1, 0},
         {0, 0, 0.2f, 0.8f, 0.4f, 1, 0.6f, 1, 0.8f, 1, 1, 1},
         {0, 0, 0.2f, 0.8f, 0.4f, 1, 0.6f, 1, 0.8f, 0.8f, 1, 0}}};
    if (kind > 1 || preset < 1 || preset > 10)
        return false;
    std::copy(kPresets[kind][preset - 1], kPresets[kind][preset - 1] + 12, values);
    return true;
}

int CPPOperatorCatalogue::IndexOfId(unsigned id) const
{
    for (int i = 0; i < m_vecEntries.size(); ++i)
        if (m_vecEntries[i].op.id == id)
            return i;
    return -1;
}

SOperator CPPOperatorCatalogue::MakeOperator(int index) const
{
    if (index < 0 || index >= m_vecEntries.size())
        return SOperator();
    SOperator op = m_vecEntries[index].op;
    op.pano = false;
    op.parameters = m_vecEntries[index].parameterTemplate;
    return op;
}

bool CPPOperatorCatalogue::Load(const QString& path)
{
    InitResources();
    m_vecEntries.clear();
    m_TypeOrder.clear();
    m_TypeGroups.clear();
    m_iOperatorElements = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return LoadFromData(file.readAll());
}

namespace {

// Builds the element record and the parameter it contributes.
SCatalogueElement ReadElement(const QDomElement& element, SParameter* parameter)
{
    static const struct {
        const char* kind;
        int type;
    } kKinds[] = {{"slider", ePTSlider}, {"position", ePTPosition}, {"line", ePTLine}, {"spline", ePTSpline},
                  {"color", ePTColor},   {"combo", ePTBlend},       {"geometry", ePTGeometry}};
    SCatalogueElement result;
    result.kind = element.tagName();
    for (const auto& kind : kKinds)
        if (result.kind == QLatin1String(kind.kind))
            result.parameterType = kind.type;
    const QDomNamedNodeMap attributes = element.attributes();
    for (int a = 0; a < attributes.count(); ++a) {
        const QDomAttr attribute = attributes.item(a).toAttr();
        result.attributes.insert(attribute.name(), attribute.value());
    }
    result.shown = result.Attribute(QStringLiteral("visible")) == QLatin1String("1") &&
                   ToInt(result.Attribute(QStringLiteral("version"))) < 4;

    *parameter = SParameter();
    parameter->eType = result.parameterType;
    float* v = parameter->pfValues;
    auto f = [&](const char* key) { return ToFloat(result.Attribute(QLatin1String(key))); };
    switch (result.parameterType) {
    case ePTSlider:
        v[0] = CPPOperatorCatalogue::SliderCenterFraction(ToInt(result.Attribute(QStringLiteral("min"))),
                                                          ToInt(result.Attribute(QStringLiteral("max"))),
                                                          f("default"));
        break;
    case ePTPosition:
        v[0] = f("x");
        v[1] = f("y");
        break;
    case ePTLine:
        v[0] = f("x1");
        v[1] = f("y1");
        v[2] = f("x2");
        v[3] = f("y2");
        break;
    case ePTSpline:
        CPPOperatorCatalogue::SplinePreset(ToUInt(result.Attribute(QStringLiteral("category"))),
                                           ToUInt(result.Attribute(QStringLiteral("default"))), v);
        break;
    case ePTColor: {
        // whole multiples of 1/255, and the point of that colour in the disc
        const int r = static_cast<int>(std::clamp(f("r"), 0.0f, 1.0f) * 255.0f);
        const int g = static_cast<int>(std::clamp(f("g"), 0.0f, 1.0f) * 255.0f);
        const int b = static_cast<int>(std::clamp(f("b"), 0.0f, 1.0f) * 255.0f);
        v[2] = static_cast<float>(r) / 255.0f;
        v[3] = static_cast<float>(g) / 255.0f;
        v[4] = static_cast<float>(b) / 255.0f;
        MP_UI_RGBtoPos(&v[0], &v[1], v[2], v[3], v[4]);
        break;
    }
    case ePTBlend:
        v[0] = 0.0f;
        v[1] = 100.0f;
        break;
    default:
        break;
    }
    return result;
}

} // namespace

bool CPPOperatorCatalogue::LoadFromData(const QByteArray& data)
{
    m_vecEntries.clear();
    m_TypeOrder.clear();
    m_TypeGroups.clear();
    m_iOperatorElements = 0;
    m_strError.clear();
    m_iErrorLine = m_iErrorColumn = 0;
    QDomDocument document;
    if (!document.setContent(data, &m_strError, &m_iErrorLine, &m_iErrorColumn)) {
        LogParseError("PPOperators.xml", m_strError, m_iErrorLine, m_iErrorColumn);
        return false;
    }
    static const char* const kParameterOrder[] = {"slider", "position", "line", "spline",
                                                  "color",  "combo",    "geometry"};
    const QDomNodeList operators = document.documentElement().elementsByTagName(QStringLiteral("operator"));
    m_iOperatorElements = operators.count();
    int previousType = 0; // the type of an unknown type string with nothing accepted before it
    QHash<QString, QStringList> groupNames;
    for (int i = 0; i < operators.count(); ++i) {
        const QDomElement element = operators.at(i).toElement();
        if (element.attribute(QStringLiteral("visible")) != QLatin1String("1") ||
            ToInt(element.attribute(QStringLiteral("version"))) > 3)
            continue;
        SCatalogueEntry entry;
        SOperator& op = entry.op;
        op.kernel = element.attribute(QStringLiteral("kernel"));
        op.id = PP_OperatorId(op.kernel);
        const QByteArray name = element.attribute(QStringLiteral("name")).toUtf8();
        op.name = QCoreApplication::translate("PPOperators.xml", name.constData());
        entry.typeString = element.attribute(QStringLiteral("type"));
        const int code = TypeCode(entry.typeString);
        op.eType = code >= 0 ? code : previousType;
        op.bActive = true;
        op.iprecalcSmooth = ToInt(element.attribute(QStringLiteral("precalcSmooth")));
        op.bReadBWPoint = element.attribute(QStringLiteral("readBWpoint")) == QLatin1String("1");
        op.bCalcBW = element.attribute(QStringLiteral("calcBW")) == QLatin1String("1");
        op.bCalcGradation = element.attribute(QStringLiteral("calcGradation")) == QLatin1String("1");
        op.pano = element.attribute(QStringLiteral("pano")) == QLatin1String("1");

        // The parameters, kind by kind; the texture slots a texture slider can select.
        for (const char* kind : kParameterOrder) {
            const QDomNodeList children = element.elementsByTagName(QLatin1String(kind));
            for (int c = 0; c < children.count(); ++c) {
                SParameter parameter;
                SCatalogueElement child = ReadElement(children.at(c).toElement(), &parameter);
                entry.elements.append(child);
                if (entry.parameterTemplate.size() < PP_MAX_PARAMETERS)
                    entry.parameterTemplate.append(parameter);
            }
        }
        if (entry.elements.size() > PP_MAX_PARAMETERS) {
            std::printf("ERROR in PPOperators.xml: operator %s has %d parameters, at most %d are possible\n",
                        op.kernel.toUtf8().constData(), static_cast<int>(entry.elements.size()),
                        PP_MAX_PARAMETERS);
            std::fflush(stdout);
            continue;
        }
        for (const SCatalogueElement& child : entry.elements) {
            if (child.kind != QLatin1String("slider") ||
                child.Attribute(QStringLiteral("hastexture")) != QLatin1String("1"))
                continue;
            const int from = std::max(ToInt(child.Attribute(QStringLiteral("min"))), 0);
            const int to = std::min(ToInt(child.Attribute(QStringLiteral("max"))), MP_TEXTURE_SLOTS - 1);
            for (int slot = from; slot <= to; ++slot)
                MP_UI_SetTextureNeeded(slot, 1);
        }
        previousType = op.eType;
        if (!m_TypeOrder.contains(entry.typeString))
            m_TypeOrder.append(entry.typeString);
        m_TypeGroups[entry.typeString].append(static_cast<int>(m_vecEntries.size()));
        m_vecEntries.append(entry);
    }
    // Each type group sorted by display name.
    for (auto it = m_TypeGroups.begin(); it != m_TypeGroups.end(); ++it) {
        std::stable_sort(it->begin(), it->end(), [this](int a, int b) {
            return caseInsensitiveLessThan(m_vecEntries[a].op.name, m_vecEntries[b].op.name);
        });
    }
    return true;
}
