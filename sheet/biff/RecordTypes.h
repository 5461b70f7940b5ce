#pragma once

#include <cstddef>
#include <cstdint>

// The BIFF8 record types the engine reads or writes.
namespace sheet::biff::rt {

inline constexpr std::uint16_t Formula = 0x0006;
inline constexpr std::uint16_t Eof = 0x000A;
inline constexpr std::uint16_t Note = 0x001C;
inline constexpr std::uint16_t ExternSheet = 0x0017;
inline constexpr std::uint16_t FilePass = 0x002F;
inline constexpr std::uint16_t Font = 0x0031;
inline constexpr std::uint16_t Continue = 0x003C;
inline constexpr std::uint16_t Window1 = 0x003D;
inline constexpr std::uint16_t CodePage = 0x0042;
inline constexpr std::uint16_t DefColWidth = 0x0055;
inline constexpr std::uint16_t Obj = 0x005D;
inline constexpr std::uint16_t ColInfo = 0x007D;
inline constexpr std::uint16_t BoundSheet = 0x0085;
inline constexpr std::uint16_t Palette = 0x0092;
inline constexpr std::uint16_t StandardWidth = 0x0099;
inline constexpr std::uint16_t MulRk = 0x00BD;
inline constexpr std::uint16_t MulBlank = 0x00BE;
inline constexpr std::uint16_t RString = 0x00D6;
inline constexpr std::uint16_t DbCell = 0x00D7;
inline constexpr std::uint16_t Xf = 0x00E0;
inline constexpr std::uint16_t MergeCells = 0x00E5;
inline constexpr std::uint16_t MsoDrawing = 0x00EC;
inline constexpr std::uint16_t MsoDrawingGroup = 0x00EB;
inline constexpr std::uint16_t SxView = 0x00B0;
inline constexpr std::uint16_t Sst = 0x00FC;
inline constexpr std::uint16_t LabelSst = 0x00FD;
inline constexpr std::uint16_t ExtSst = 0x00FF;
inline constexpr std::uint16_t SupBook = 0x01AE;
inline constexpr std::uint16_t TxO = 0x01B6;
inline constexpr std::uint16_t Dimensions = 0x0200;
inline constexpr std::uint16_t Blank = 0x0201;
inline constexpr std::uint16_t Number = 0x0203;
inline constexpr std::uint16_t Label = 0x0204;
inline constexpr std::uint16_t BoolErr = 0x0205;
inline constexpr std::uint16_t String = 0x0207;
inline constexpr std::uint16_t Row = 0x0208;
inline constexpr std::uint16_t Index = 0x020B;
inline constexpr std::uint16_t Array = 0x0221;
inline constexpr std::uint16_t DefaultRowHeight = 0x0225;
inline constexpr std::uint16_t Table = 0x0236;
inline constexpr std::uint16_t Window2 = 0x023E;
inline constexpr std::uint16_t Rk = 0x027E;
inline constexpr std::uint16_t Biff4Formula = 0x0406; // FORMULA's id in Excel 4.0, which some programs still write
inline constexpr std::uint16_t Format = 0x041E;
inline constexpr std::uint16_t SharedFormula = 0x04BC;
inline constexpr std::uint16_t Bof = 0x0809;

// Chart records
inline constexpr std::uint16_t DataLabExtContents = 0x086B;
inline constexpr std::uint16_t Chart = 0x1002;
inline constexpr std::uint16_t Series = 0x1003;
inline constexpr std::uint16_t DataFormat = 0x1006;
inline constexpr std::uint16_t LineFormat = 0x1007;
inline constexpr std::uint16_t MarkerFormat = 0x1009;
inline constexpr std::uint16_t AreaFormat = 0x100A;
inline constexpr std::uint16_t PieFormat = 0x100B;
inline constexpr std::uint16_t AttachedLabel = 0x100C;
inline constexpr std::uint16_t SeriesText = 0x100D;
inline constexpr std::uint16_t ChartFormat = 0x1014;
inline constexpr std::uint16_t Legend = 0x1015;
inline constexpr std::uint16_t Bar = 0x1017;
inline constexpr std::uint16_t Line = 0x1018;
inline constexpr std::uint16_t Pie = 0x1019;
inline constexpr std::uint16_t Area = 0x101A;
inline constexpr std::uint16_t Scatter = 0x101B;
inline constexpr std::uint16_t CrtLine = 0x101C;
inline constexpr std::uint16_t Axis = 0x101D;
inline constexpr std::uint16_t ValueRange = 0x101F;
inline constexpr std::uint16_t CatSerRange = 0x1020;
inline constexpr std::uint16_t AxisLineFormat = 0x1021;
inline constexpr std::uint16_t Text = 0x1025;
inline constexpr std::uint16_t FontX = 0x1026;
inline constexpr std::uint16_t ObjectLink = 0x1027;
inline constexpr std::uint16_t Frame = 0x1032;
inline constexpr std::uint16_t ChartBegin = 0x1033;
inline constexpr std::uint16_t ChartEnd = 0x1034;
inline constexpr std::uint16_t Chart3d = 0x103A;
inline constexpr std::uint16_t DropBar = 0x103D;
inline constexpr std::uint16_t Radar = 0x103E;
inline constexpr std::uint16_t Surface = 0x103F;
inline constexpr std::uint16_t RadarArea = 0x1040;
inline constexpr std::uint16_t AxisParent = 0x1041;
inline constexpr std::uint16_t ShtProps = 0x1044;
inline constexpr std::uint16_t SerToCrt = 0x1045;
inline constexpr std::uint16_t IFmt = 0x104E;
inline constexpr std::uint16_t Pos = 0x104F;
inline constexpr std::uint16_t AlRuns = 0x1050;
inline constexpr std::uint16_t Brai = 0x1051;
inline constexpr std::uint16_t BopPop = 0x1061;
inline constexpr std::uint16_t SIIndex = 0x1065;

// BOF substream kinds
inline constexpr std::uint16_t GlobalsKind = 0x0005;
inline constexpr std::uint16_t WorksheetKind = 0x0010;
inline constexpr std::uint16_t ChartKind = 0x0020;

// The longest record body the format allows; longer data goes on in CONTINUE records.
inline constexpr std::size_t MaxRecordSize = 8224;

} // namespace sheet::biff::rt
