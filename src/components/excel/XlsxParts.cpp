#include "components/excel/XlsxParts.h"

namespace excel::parts {

// Adjacent literals, so each part is one constant.
#define XML_DECL "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
#define MAIN_NS "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
#define REL_NS "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
#define PKG_REL_NS "http://schemas.openxmlformats.org/package/2006/relationships"
#define OFFICE_CT "application/vnd.openxmlformats-officedocument."

namespace {
// Widest used range a sheet can have: "XFD1048575:XFD1048576" (a sheet need not start at A1).
constexpr size_t kRefWidth = 21;
} // namespace

std::string SheetHead(const std::string& ref)
{
    std::string head = XML_DECL "<worksheet xmlns=\"" MAIN_NS "\" xmlns:r=\"" REL_NS "\"><dimension ref=\"";
    head += ref;
    head += '"';
    head.append(kRefWidth - std::min(ref.size(), kRefWidth), ' ');
    head += "/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
            "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData>";
    return head;
}

std::string ContentTypes()
{
    return XML_DECL
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" OFFICE_CT "spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" OFFICE_CT "spreadsheetml.worksheet+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" ContentType=\"" OFFICE_CT "spreadsheetml.styles+xml\"/>"
        "<Override PartName=\"/docProps/core.xml\" "
        "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
        "<Override PartName=\"/docProps/app.xml\" ContentType=\"" OFFICE_CT "extended-properties+xml\"/></Types>";
}

std::string PackageRels()
{
    return XML_DECL "<Relationships xmlns=\"" PKG_REL_NS "\">"
                    "<Relationship Id=\"rId1\" Type=\"" REL_NS "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                    "<Relationship Id=\"rId2\" Type=\"" PKG_REL_NS "/metadata/core-properties\" "
                    "Target=\"docProps/core.xml\"/>"
                    "<Relationship Id=\"rId3\" Type=\"" REL_NS "/extended-properties\" Target=\"docProps/app.xml\"/>"
                    "</Relationships>";
}

std::string Workbook()
{
    return XML_DECL "<workbook xmlns=\"" MAIN_NS "\" xmlns:r=\"" REL_NS "\">"
                    "<bookViews><workbookView xWindow=\"240\" yWindow=\"15\" windowWidth=\"16095\" "
                    "windowHeight=\"9660\"/></bookViews>"
                    "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
}

std::string WorkbookRels()
{
    return XML_DECL "<Relationships xmlns=\"" PKG_REL_NS "\">"
                    "<Relationship Id=\"rId1\" Type=\"" REL_NS "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                    "<Relationship Id=\"rId2\" Type=\"" REL_NS "/styles\" Target=\"styles.xml\"/></Relationships>";
}

// One font, the two fills every workbook carries, one border and one cell format: the least
// a spreadsheet program accepts.
std::string Styles()
{
    return XML_DECL "<styleSheet xmlns=\"" MAIN_NS "\">"
                    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
                    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
                    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
                    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
                    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
                    "</cellStyleXfs><cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
                    "xfId=\"0\"/></cellXfs>"
                    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
                    "<dxfs count=\"0\"/><tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" "
                    "defaultPivotStyle=\"PivotStyleLight16\"/></styleSheet>";
}

std::string AppProps()
{
    return XML_DECL
        "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
        "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
        "<Application>Termwise</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>"
        "<HeadingPairs><vt:vector size=\"2\" baseType=\"variant\"><vt:variant><vt:lpstr>Worksheets</vt:lpstr>"
        "</vt:variant><vt:variant><vt:i4>1</vt:i4></vt:variant></vt:vector></HeadingPairs>"
        "<TitlesOfParts><vt:vector size=\"1\" baseType=\"lpstr\"><vt:lpstr>Sheet1</vt:lpstr></vt:vector>"
        "</TitlesOfParts><LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc>"
        "<HyperlinksChanged>false</HyperlinksChanged><AppVersion>12.0000</AppVersion></Properties>";
}

std::string CoreProps(const QDateTime& created)
{
    const std::string when = created.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toStdString();
    std::string core = XML_DECL "<cp:coreProperties "
                                "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                                "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
                                "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                                "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
                                "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
                                "<dcterms:created xsi:type=\"dcterms:W3CDTF\">";
    core += when;
    core += "</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">";
    core += when;
    core += "</dcterms:modified></cp:coreProperties>";
    return core;
}

} // namespace excel::parts
