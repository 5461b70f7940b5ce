#include "MadeWorkbook.h"

#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/model/Drawing.h"
#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

#include <map>

namespace sheet {
namespace {

using test::put;

constexpr std::uint16_t MsoDrawing = 0x00EC, Obj = 0x005D, TxO = 0x01B6, Continue = 0x003C;
constexpr int Comment = 0x19;

std::vector<std::uint8_t> officeArt(std::uint16_t versionAndInstance, std::uint16_t type,
                                    const std::vector<std::uint8_t>& body, std::size_t claimed = 0)
{
    std::vector<std::uint8_t> out;
    put(out, versionAndInstance, 2);
    put(out, type, 2);
    put(out, claimed ? claimed : body.size(), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::uint8_t> joined(std::initializer_list<std::vector<std::uint8_t>> parts)
{
    std::vector<std::uint8_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A comment's shape container: its shape record, anchor and client data; the text box record that
// the container's length counts in comes in a record of its own.
std::vector<std::uint8_t> commentShape(int id, int column, int row)
{
    std::vector<std::uint8_t> sp;
    put(sp, static_cast<std::uint64_t>(id), 4);
    put(sp, 0x0A00, 4);
    std::vector<std::uint8_t> anchor;
    put(anchor, 0, 2);
    for (int value : {column, 10, row, 20, column + 2, 30, row + 4, 40})
        put(anchor, static_cast<std::uint64_t>(value), 2);
    const std::vector<std::uint8_t> inner =
        joined({officeArt(0x0CA2, 0xF00A, sp), officeArt(0, 0xF010, anchor), officeArt(0, 0xF011, {})});
    return officeArt(0x000F, 0xF004, inner, inner.size() + 8);
}

std::vector<std::uint8_t> commentObject(int id)
{
    std::vector<std::uint8_t> body;
    put(body, 0x15, 2);
    put(body, 0x12, 2);
    put(body, Comment, 2);
    put(body, static_cast<std::uint64_t>(id), 2);
    put(body, 0x4011, 2);
    body.resize(body.size() + 12, 0);
    put(body, 0, 4);
    return body;
}

// A text box's TXO with its text and its formatting runs in CONTINUE records.
void addText(test::MadeWorkbook& workbook, const std::string& text)
{
    std::vector<std::uint8_t> txo;
    put(txo, 0x0212, 2);
    txo.resize(10, 0);
    put(txo, text.size(), 2);
    put(txo, 16, 2);
    txo.resize(18, 0);
    std::vector<std::uint8_t> characters(1, 0); // one byte a character
    for (char c : text)
        characters.push_back(static_cast<std::uint8_t>(c));
    workbook.record(TxO, txo).record(Continue, characters).record(Continue, std::vector<std::uint8_t>(16, 0));
}

// Once a sheet's drawing has grown past its first record, Excel goes on in CONTINUE records: after
// an OBJ record, and after a text box's TXO and the CONTINUE records of its text. Here the second
// comment's shape is cut in two such records.
TEST(SheetDrawing, ShapesThatGoOnInContinueRecordsAreReadAndKeptThroughASave)
{
    const std::vector<std::uint8_t> first = commentShape(1025, 1, 2);
    const std::vector<std::uint8_t> second = commentShape(1026, 4, 7);
    const std::vector<std::uint8_t> textBox = officeArt(0, 0xF00D, {});
    std::vector<std::uint8_t> group;
    put(group, 0, 16);
    const std::vector<std::uint8_t> patriarch = officeArt(
        0x000F, 0xF004, joined({officeArt(0x0001, 0xF009, group), officeArt(0x0002, 0xF00A, std::vector<std::uint8_t>(8, 0))}));
    const std::size_t shapes = patriarch.size() + 2 * (first.size() + textBox.size());
    std::vector<std::uint8_t> dg;
    put(dg, 2, 4);
    put(dg, 1026, 4);
    const std::vector<std::uint8_t> head = joined({officeArt(0x000F, 0xF002, {}, 16 + 8 + shapes),
                                                   officeArt(0x0010, 0xF008, dg),
                                                   officeArt(0x000F, 0xF003, {}, shapes), patriarch, first});
    const std::vector<std::uint8_t> secondStart(second.begin(), second.begin() + 20);
    const std::vector<std::uint8_t> secondEnd(second.begin() + 20, second.end());

    test::MadeWorkbook made;
    made.sheet("Notes").record(MsoDrawing, head).record(Obj, commentObject(1)).record(MsoDrawing, textBox);
    addText(made, "first");
    made.record(Continue, secondStart)
        .record(Continue, secondEnd)
        .record(Obj, commentObject(2))
        .record(Continue, textBox);
    addText(made, "second");

    biff::WorkbookFile file = biff::readWorkbookFile(made.file());
    for (int pass = 0; pass < 2; ++pass) {
        const auto& drawings = file.workbook.sheets[0].drawings;
        ASSERT_EQ(drawings.size(), 2u) << "pass " << pass;
        EXPECT_EQ(drawings[0].shapeId, 1025);
        EXPECT_EQ(drawings[0].objectType, Comment);
        EXPECT_EQ(drawings[0].anchor.col1, 1);
        EXPECT_EQ(drawings[0].anchor.row2, 6);
        EXPECT_EQ(drawings[1].shapeId, 1026);
        EXPECT_EQ(drawings[1].objectType, Comment);
        EXPECT_EQ(drawings[1].anchor.col1, 4);
        EXPECT_EQ(drawings[1].anchor.dy2, 40);
        edit::writeCellText(file.workbook, 0, 3, 0, "written", NumberLocale{});
        file = biff::readWorkbookFile(biff::workbookFileBytes(file));
    }
}

// The drawing of a workbook that LibreOffice wrote holds a shape of each kind, and one picture that two
// sheets show: each shape comes with its figure, name, fill, outline, arrowhead and text in its place,
// and both sheets point at the one picture of the store, a whole PNG file.
TEST(SheetDrawing, PicturesAndShapesAreReadWithTheirLookAndText)
{
    using model::Figure;
    const model::Workbook workbook = biff::openWorkbookFile(test::dataPath("libreoffice-drawings.xls")).workbook;
    std::map<Figure, const model::DrawingObject*> shapes;
    for (const model::DrawingObject& object : workbook.sheets[0].drawings)
        shapes[model::figureOf(object)] = &object;
    for (Figure figure : {Figure::Rectangle, Figure::Ellipse, Figure::Line, Figure::TextBox, Figure::Button, Figure::Picture})
        ASSERT_TRUE(shapes.contains(figure)) << static_cast<int>(figure);

    const model::DrawingObject& box = *shapes[Figure::Rectangle];
    EXPECT_EQ(box.name, "Yellow box");
    EXPECT_EQ(box.look.fill, 0xFFD320u);
    EXPECT_EQ(box.look.line, 0x004586u);
    EXPECT_EQ(model::plainText(box.text), "Boxed text");
    EXPECT_EQ(box.textPlacement.across, model::TextPlacement::Centre);
    EXPECT_EQ(box.textPlacement.down, model::TextPlacement::Middle);
    EXPECT_EQ(shapes[Figure::Line]->look.line, 0xFF0000u);
    EXPECT_TRUE(shapes[Figure::Line]->look.arrowAtEnd);
    EXPECT_FALSE(shapes[Figure::Line]->look.arrowAtStart);
    EXPECT_EQ(model::plainText(shapes[Figure::TextBox]->text), "A text box\nwith two lines");
    EXPECT_EQ(model::plainText(shapes[Figure::Button]->text), "Press me");

    const int picture = shapes[Figure::Picture]->picture;
    ASSERT_TRUE(workbook.hasPicture(picture));
    const model::Picture& image = workbook.pictures[static_cast<std::size_t>(picture)];
    EXPECT_EQ(image.extension, "png");
    EXPECT_EQ(std::string(image.bytes.begin(), image.bytes.begin() + 8), "\x89PNG\r\n\x1a\n");
    const auto& more = workbook.sheets[1].drawings; // the picture and the box of the sheet's comment
    ASSERT_EQ(more.size(), 2u);
    EXPECT_TRUE(more[0].picture == picture || more[1].picture == picture);
    EXPECT_EQ(workbook.sheets[0].comments.size(), 2u);
    EXPECT_TRUE(workbook.sheets[0].comments[0].visible);
}

// An Excel 95 sheet's NOTE records hold their comment's text, in the workbook's code page, a long one
// going on in NOTE records of row 0xFFFF; its OBJ records are objects the engine names but cannot draw.
TEST(SheetDrawing, Excel95CommentsAreReadAndItsObjectsNamed)
{
    std::vector<std::uint8_t> first = test::cellHeader(2, 1);
    first.resize(4);
    put(first, 14, 2);
    for (char c : std::string("Caf\xE9 au "))
        first.push_back(static_cast<std::uint8_t>(c));
    std::vector<std::uint8_t> rest;
    put(rest, 0xFFFF, 2);
    put(rest, 0, 2);
    put(rest, 6, 2);
    for (char c : std::string("lait\r\n"))
        rest.push_back(static_cast<std::uint8_t>(c));
    std::vector<std::uint8_t> picture;
    put(picture, 1, 4);
    put(picture, 8, 2); // a picture
    put(picture, 3, 2);
    put(picture, 0, 2);
    for (int value : {1, 0, 1, 0, 3, 0, 5, 0})
        put(picture, static_cast<std::uint64_t>(value), 2);
    put(picture, 0, 8);
    test::MadeWorkbook made(0x0500);
    made.sheet("Sheet1").record(0x001C, first).record(0x001C, rest).record(Obj, picture);
    const model::Workbook workbook = biff::readWorkbookFile(made.file(u"Book")).workbook;
    const model::Sheet& sheet = workbook.sheets[0];
    ASSERT_EQ(sheet.comments.size(), 1u);
    EXPECT_EQ(sheet.comments[0].row, 2);
    EXPECT_EQ(sheet.comments[0].column, 1);
    EXPECT_EQ(model::plainText(sheet.comments[0].text), "Caf\u00E9 au lait\n");
    ASSERT_EQ(sheet.drawings.size(), 1u);
    EXPECT_TRUE(sheet.drawings[0].excel95);
    EXPECT_EQ(sheet.drawings[0].objectType, model::DrawingObject::PictureKind);
    EXPECT_EQ(model::figureOf(sheet.drawings[0]), model::Figure::None);
}

} // namespace
} // namespace sheet
