#pragma once

#include "sheet/ods/CellFormats.h"
#include "sheet/ods/OdsPackage.h"
#include "sheet/ods/StyleSheet.h"
#include "sheet/ods/XmlFeed.h"

#include <memory>
#include <optional>

namespace sheet::ods {

// Reads the XML parts of a spreadsheet document into a package's workbook: the styles, the settings
// (the active sheet, gridlines) and the body (the tables with their columns, rows, cells, merged areas,
// comments and the frames of chart objects, and the named ranges). The parts of a package are read one
// after the other through the same reader, styles.xml first; a flat document is read at once. Rows and
// columns past the engine's 65,536 by 256 cells are counted but not kept; a value there is refused.
class DocumentReader : public XmlHandler {
public:
    explicit DocumentReader(OdsPackage& package);
    ~DocumentReader() override;

    void start(const QXmlStreamReader& xml) override;
    void end(const QXmlStreamReader& xml) override;
    void text(QStringView text) override;

    // A chart object that a frame names, to be read once every sheet is known.
    struct PendingChart {
        int sheet = 0;
        std::size_t chart = 0;
        std::string folder;
    };
    const std::vector<PendingChart>& pendingCharts() const { return charts_; }
    // Applies the settings read and checks what was read; call after the last part.
    void finish();

private:
    struct Cell;
    struct Table;
    struct Settings;

    void startBody(const QXmlStreamReader& xml);
    void endBody(const QXmlStreamReader& xml);
    void startTable(const QXmlStreamReader& xml);
    void endTable();
    void startColumn(const QXmlStreamReader& xml);
    void startRow(const QXmlStreamReader& xml);
    void endRow();
    void startCell(const QXmlStreamReader& xml);
    void endCell();
    void startFrame(const QXmlStreamReader& xml);
    void startSettings(const QXmlStreamReader& xml);
    void endSettings(const QXmlStreamReader& xml);
    void placeFrames();

    OdsPackage& package_;
    StyleSheet styles_;
    StyleCollector collector_;
    bool inStyles_ = false;
    bool stylesFinished_ = false;
    std::unique_ptr<CellFormats> formats_;
    std::unique_ptr<Table> table_;
    std::unique_ptr<Cell> cell_;
    std::unique_ptr<Settings> settings_;
    std::vector<PendingChart> charts_;
    std::size_t cellCount_ = 0;
    int bodyDepth_ = 0;
};

} // namespace sheet::ods
