// libFuzzer target: the GPX and KML of one mine whose texts and coordinates
// are arbitrary bytes, written in memory and parsed by libxml2. Checks that
// both documents are well-formed XML in UTF-8 with one waypoint or placemark
// exactly when the mine has a place on the globe, that the HTML of each KML
// balloon template is well formed too, and that each placemark names a style
// the document defines.
//
// Input: latitude and longitude (4 bytes each, as floats), the DEP_ID (4
// bytes), then texts as [length byte][bytes], given to the fields below in
// turn.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/waypoint_text.h"
#include "tests/fuzz/fuzz_support.h"

using fuzz::Require;

namespace {

// The fields that the GPX and the balloon show.
constexpr std::array<CMine::TextField, 14> kShownFields = {
    &CMine::m_strSiteName, &CMine::m_strComMajor, &CMine::m_strComMinor, &CMine::m_strComTrace,
    &CMine::m_strDevStat,  &CMine::m_strCountry,  &CMine::m_strState,    &CMine::m_strCounty,
    &CMine::m_strComType,  &CMine::m_strYfpBa,    &CMine::m_strYrFstPrd, &CMine::m_strYrLstPrd,
    &CMine::m_strDiscYr,   &CMine::m_strProdYrs,
};

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

class XmlDocument {
public:
    explicit XmlDocument(std::string_view text)
        : m_doc(xmlReadMemory(text.data(), static_cast<int>(text.size()), "fuzz.xml", "UTF-8",
                              kParseOptions)) {}
    ~XmlDocument() { xmlFreeDoc(m_doc); }
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    xmlNode* Root() const { return m_doc != nullptr ? xmlDocGetRootElement(m_doc) : nullptr; }

private:
    xmlDoc* m_doc;
};

bool IsElement(const xmlNode* node, std::string_view name) {
    return node->type == XML_ELEMENT_NODE &&
           std::string_view(reinterpret_cast<const char*>(node->name)) == name;
}

std::vector<xmlNode*> Children(xmlNode* parent, std::string_view name) {
    std::vector<xmlNode*> found;
    for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
        if (IsElement(child, name)) {
            found.push_back(child);
        }
    }
    return found;
}

// The style the placemark's styleUrl names ("#" and the id of exactly one of
// the document's styles).
xmlNode* StyleOf(xmlNode* document, xmlNode* placemark) {
    const std::vector<xmlNode*> urls = Children(placemark, "styleUrl");
    Require(urls.size() == 1);
    xmlChar* url = xmlNodeGetContent(urls[0]);
    Require(url != nullptr);
    const std::string reference = reinterpret_cast<const char*>(url);
    xmlFree(url);
    xmlNode* named = nullptr;
    std::size_t defined = 0;
    for (xmlNode* style : Children(document, "Style")) {
        xmlChar* id = xmlGetProp(style, reinterpret_cast<const xmlChar*>("id"));
        Require(id != nullptr);
        if (reference == "#" + std::string(reinterpret_cast<const char*>(id))) {
            named = style;
            ++defined;
        }
        xmlFree(id);
    }
    Require(defined == 1);
    return named;
}

// The balloon: the style's one template, well-formed HTML holding a table
// once wrapped in one element, and the placemark's fields as named Data
// elements of one value each.
void CheckBalloon(xmlNode* style, xmlNode* placemark) {
    const std::vector<xmlNode*> balloons = Children(style, "BalloonStyle");
    Require(balloons.size() == 1);
    const std::vector<xmlNode*> texts = Children(balloons[0], "text");
    Require(texts.size() == 1);
    xmlChar* html = xmlNodeGetContent(texts[0]);
    Require(html != nullptr);
    {
        const XmlDocument balloon("<div>" + std::string(reinterpret_cast<const char*>(html)) +
                                  "</div>");
        Require(balloon.Root() != nullptr && !Children(balloon.Root(), "table").empty());
    }
    xmlFree(html);
    for (xmlNode* extended : Children(placemark, "ExtendedData")) {
        for (xmlNode* data : Children(extended, "Data")) {
            xmlChar* name = xmlGetProp(data, reinterpret_cast<const xmlChar*>("name"));
            Require(name != nullptr && name[0] != '\0');
            xmlFree(name);
            Require(Children(data, "value").size() == 1);
        }
    }
}

CMine MineFrom(const std::uint8_t* data, std::size_t size) {
    CMine mine;
    std::memcpy(&mine.m_fLatitude, data, 4);
    std::memcpy(&mine.m_fLongitude, data + 4, 4);
    std::memcpy(&mine.m_nDepId, data + 8, 4);
    std::size_t pos = 12;
    for (const CMine::TextField field : kShownFields) {
        if (pos >= size) {
            break;
        }
        const std::size_t length = std::min<std::size_t>(data[pos], size - pos - 1);
        mine.SetText(field,
                     std::string_view(reinterpret_cast<const char*>(data) + pos + 1, length));
        pos += 1 + length;
    }
    return mine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12) {
        return 0;
    }
    CMineArray mines;
    mines.Add(CMine());
    mines.Add(MineFrom(data, size));
    const std::vector<std::size_t> indices = {1};
    const std::size_t expected = HasMapPosition(mines[1]) ? 1 : 0;

    std::ostringstream gpx;
    WriteGpxFile(gpx, mines, indices);
    const XmlDocument gpxDocument(gpx.str());
    Require(gpxDocument.Root() != nullptr && IsElement(gpxDocument.Root(), "gpx"));
    Require(Children(gpxDocument.Root(), "wpt").size() == expected);

    std::ostringstream kml;
    WriteKmlFile(kml, mines, indices);
    const XmlDocument kmlDocument(kml.str());
    Require(kmlDocument.Root() != nullptr && IsElement(kmlDocument.Root(), "kml"));
    const std::vector<xmlNode*> documents = Children(kmlDocument.Root(), "Document");
    Require(documents.size() == 1);
    const std::vector<xmlNode*> placemarks = Children(documents[0], "Placemark");
    Require(placemarks.size() == expected);
    for (xmlNode* placemark : placemarks) {
        CheckBalloon(StyleOf(documents[0], placemark), placemark);
    }
    return 0;
}
