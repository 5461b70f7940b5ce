#!/usr/bin/perl
# Writes the workbooks in this folder that Perl's Spreadsheet::WriteExcel makes:
#
# writeexcel-budget.xls  a workbook made by another program, with content around the chart data
#                        cells that a fill must leave alone
# writeexcel-chart.xls   values of every kind, Unicode text, a formula and an embedded pie chart
#                        whose ranges name their sheet
# merged-entry-rows.xls  a person's template whose entry rows A4:A8 are merged into one cell
# writeexcel-chart-types.xls
#                        embedded charts of six types on one sheet (column with two series and axis
#                        titles, line, bar, area, scatter, stock) and a chart sheet with a column chart
# writeexcel-formulas-and-names.xls
#                        formulas of many kinds (operators and their order, functions, texts, cells of
#                        other sheets, names) with their results, and defined names: of the workbook,
#                        of a sheet, and the built-in print area and print titles
#
#   perl tests/data/make-writeexcel-workbooks.pl [output folder]
use strict;
use warnings;
use utf8;
use File::Basename qw(dirname);
use Spreadsheet::WriteExcel;

my $folder = shift // dirname(__FILE__);
budget("$folder/writeexcel-budget.xls");
chart("$folder/writeexcel-chart.xls");
merged_entry_rows("$folder/merged-entry-rows.xls");
formulas("$folder/writeexcel-formulas-and-names.xls");
chart_types("$folder/writeexcel-chart-types.xls");

sub merged_entry_rows {
    my ($path) = @_;
    my $workbook = Spreadsheet::WriteExcel->new($path) or die "cannot write $path: $!";
    my $assets = $workbook->add_worksheet('Assets');
    my $bold = $workbook->add_format(bold => 1);
    $assets->write_string(2, 0, 'Asset Type', $bold);
    $assets->write_string(2, 1, 'Amount', $bold);
    $assets->merge_range(3, 0, 7, 0, 'Merged labels', $workbook->add_format(valign => 'vcenter'));
    $workbook->close() or die "cannot finish $path: $!";
}

sub budget {
    my ($path) = @_;
    my $workbook = Spreadsheet::WriteExcel->new($path) or die "cannot write $path: $!";

    my $assets = $workbook->add_worksheet('Assets');
    my $notes  = $workbook->add_worksheet('Notes');
    $assets->activate();

    my $title  = $workbook->add_format(bold => 1, size => 14, color => 'navy');
    my $header = $workbook->add_format(bold => 1, bg_color => 'yellow', border => 1);
    my $money  = $workbook->add_format(num_format => '#,##0.00 [$€-407]');
    my $date   = $workbook->add_format(num_format => 'yyyy-mm-dd');
    my $merged = $workbook->add_format(align => 'center', italic => 1);

    $assets->write_string(0, 0, 'Household budget', $title);
    $assets->write_string(2, 0, 'Asset Type', $header);
    $assets->write_string(2, 1, 'Amount', $header);
    my @old = (['Cash', 120.5], ['Shares', 3000], ['Flat', 180000]);
    for my $i (0 .. $#old) {
        $assets->write_string(3 + $i, 0, $old[$i][0]);
        $assets->write_number(3 + $i, 1, $old[$i][1], $money);
    }
    $assets->write_string(2, 3, 'Note', $header);
    $assets->write_string(3, 3, 'Zürich – Ünïcödé ✓');
    $assets->write_number(4, 3, 45123, $date);
    $assets->write_formula(5, 3, '=SUM(B4:B6)', $money, 183120.5);
    $assets->write_number(6, 3, -0.125);
    $assets->merge_range(11, 2, 11, 4, 'Merged across C12:E12', $merged);
    $assets->write_comment(3, 3, 'A comment made by WriteExcel');
    $assets->set_column(3, 3, 24);
    $assets->set_row(11, 30);

    $notes->write_string(0, 0, 'Second sheet');
    $notes->write_number(1, 0, 3.14159);
    $notes->write_string(1, 1, 'Пи');
    $notes->write_formula(2, 0, '=A2*2', undef, 6.28318);

    $workbook->close() or die "cannot finish $path: $!";
}

sub chart {
    my ($path) = @_;
    my $workbook = Spreadsheet::WriteExcel->new($path) or die "cannot write $path: $!";
    my $sheet = $workbook->add_worksheet('Data');
    my $bold = $workbook->add_format(bold => 1);
    my $money = $workbook->add_format(num_format => '#,##0.00 "€"');
    my $shaded = $workbook->add_format(bg_color => 'yellow', pattern => 1);

    $sheet->write_string(0, 0, 'Name', $bold);
    $sheet->write_string(0, 1, 'Value', $bold);
    my @rows = (['Äpfel', 1.5], ['日本語', 250], ['Ελληνικά', -3.25], ['plain', 1e9]);
    for my $i (0 .. $#rows) {
        $sheet->write_string($i + 1, 0, $rows[$i][0]);
        $sheet->write_number($i + 1, 1, $rows[$i][1], $money);
    }
    $sheet->write_formula(5, 1, '=SUM(B2:B5)');
    $sheet->write_blank(7, 3, $shaded);
    $sheet->write(8, 0, 'TRUE');
    $sheet->set_column(0, 0, 20);

    my $chart = $workbook->add_chart(type => 'pie', embedded => 1);
    $chart->add_series(categories => '=Data!$A$2:$A$5', values => '=Data!$B$2:$B$5', name => 'Value');
    $sheet->insert_chart('E2', $chart);

    my $second = $workbook->add_worksheet('Second');
    $second->write(0, 0, 42);
    $workbook->close() or die "cannot finish $path: $!";
}

sub formulas {
    my ($path) = @_;
    my $workbook = Spreadsheet::WriteExcel->new($path) or die "cannot write $path: $!";
    my $data  = $workbook->add_worksheet('Data');
    my $other = $workbook->add_worksheet('Other Sheet');
    my $year  = $workbook->add_worksheet('2020');

    $data->write_number(0, 0, 1);
    $data->write_number(1, 0, 2);
    $data->write_number(2, 0, 3);
    $data->write_number(0, 1, 0.5);
    $data->write_number(1, 1, 20);
    $data->write_number(2, 1, 30);
    $data->write_string(3, 0, 'text');
    $other->write_number(0, 0, 10);
    $other->write_formula(1, 0, '=Data!A3+1', undef, 4);
    $year->write_formula(0, 0, q{='Other Sheet'!A1+Data!A1}, undef, 11);

    $workbook->define_name('MyRange', '=Data!$A$1:$A$3');
    $workbook->define_name('Data!Local', '=Data!$B$1');
    $workbook->define_name('Rate', '=0.25');

    # Each formula with the result Excel gives it.
    my @formulas = (
        ['=(A1+A2)*A3', 9], ['=A1-A2-A3', -4], ['=A1-(A2-A3)', 2], ['=A1-A2*A3', -5], ['=2^3^2', 64],
        ['=(A1+A2)/A3', 1], ['=A1&"x"&A4', '1xtext'], ['=IF(A1<>A2,"yes","no")', 'yes'], ['=SUM(A1:A3)', 6],
        [q{='Other Sheet'!A1*2}, 20], ['=SUM(MyRange)', 6], ['=Local*2', 1], ['=ROUND(B1*3,0)', 2],
        ['=IF(ISERROR(1/0),"err","ok")', 'err'], ['=MAX(A1:A3)-MIN(A1:A3)', 2], ['=VLOOKUP(2,A1:B3,2,FALSE)', 20],
        ['=AVERAGE(A1:A3)^2', 4], ['=LEN(A4)+ABS(-2)', 6], ['=A$1+$A2', 3], ['=A1*Rate', 0.25],
        ['=CONCATENATE("say ""hi"" ",A4)', 'say "hi" text'], ['=SUM(A1:A3,B2:B3)/2', 28],
        ['=COUNTIF(A1:A3,">1")', 2], ['=INDEX(A1:B3,2,2)', 20],
    );
    for my $i (0 .. $#formulas) {
        $data->write_formula($i, 2, $formulas[$i][0], undef, $formulas[$i][1]);
    }
    $data->print_area('A1:C24');
    $data->repeat_rows(0);
    $workbook->close() or die "cannot finish $path: $!";
}

sub chart_types {
    my ($path) = @_;
    my $workbook = Spreadsheet::WriteExcel->new($path) or die "cannot write $path: $!";
    my $sheet = $workbook->add_worksheet('Sales');
    my $bold = $workbook->add_format(bold => 1);
    my $date = $workbook->add_format(num_format => 'yyyy-mm-dd');

    $sheet->write_row(0, 0, ['Month', 'North', 'South', 'Day', 'High', 'Low', 'Close'], $bold);
    my @months = ('Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun');
    my @north = (10, 40, 50, 20, 10, 50);
    my @south = (30, 60, 70, 50, 40, 30);
    my @high = (27.2, 25.03, 19.05, 20.34, 18.5, 22.1);
    my @low = (23.49, 19.55, 15.12, 17.84, 16.34, 19.8);
    my @close = (25.45, 23.05, 17.32, 20.45, 17.34, 21.0);
    for my $i (0 .. 5) {
        $sheet->write_string($i + 1, 0, $months[$i]);
        $sheet->write_number($i + 1, 1, $north[$i]);
        $sheet->write_number($i + 1, 2, $south[$i]);
        $sheet->write_number($i + 1, 3, 39448 + $i, $date);
        $sheet->write_number($i + 1, 4, $high[$i]);
        $sheet->write_number($i + 1, 5, $low[$i]);
        $sheet->write_number($i + 1, 6, $close[$i]);
    }

    my $column = $workbook->add_chart(type => 'column', embedded => 1);
    $column->add_series(categories => '=Sales!$A$2:$A$7', values => '=Sales!$B$2:$B$7', name => 'North');
    $column->add_series(categories => '=Sales!$A$2:$A$7', values => '=Sales!$C$2:$C$7', name => 'South');
    $column->set_title(name => 'Sales by month');
    $column->set_x_axis(name => 'Month');
    $column->set_y_axis(name => 'Units');
    $sheet->insert_chart('I2', $column);

    my $line = $workbook->add_chart(type => 'line', embedded => 1);
    $line->add_series(categories => '=Sales!$A$2:$A$7', values => '=Sales!$B$2:$B$7', name => '=Sales!$B$1');
    $line->add_series(categories => '=Sales!$A$2:$A$7', values => '=Sales!$C$2:$C$7', name => '=Sales!$C$1');
    $line->set_title(name => 'Trend');
    $sheet->insert_chart('I18', $line);

    my $bar = $workbook->add_chart(type => 'bar', embedded => 1);
    $bar->add_series(categories => '=Sales!$A$2:$A$7', values => '=Sales!$C$2:$C$7', name => 'South');
    $sheet->insert_chart('Q2', $bar);

    my $area = $workbook->add_chart(type => 'area', embedded => 1);
    $area->add_series(categories => '=Sales!$A$2:$A$7', values => '=Sales!$B$2:$B$7');
    $sheet->insert_chart('Q18', $area);

    my $scatter = $workbook->add_chart(type => 'scatter', embedded => 1);
    $scatter->add_series(categories => '=Sales!$B$2:$B$7', values => '=Sales!$C$2:$C$7', name => 'South by North');
    $sheet->insert_chart('I34', $scatter);

    my $stock = $workbook->add_chart(type => 'stock', embedded => 1);
    for my $column ('E', 'F', 'G') {
        $stock->add_series(categories => '=Sales!$D$2:$D$7', values => "=Sales!\$${column}\$2:\$${column}\$7");
    }
    $stock->set_title(name => 'Share price');
    $sheet->insert_chart('Q34', $stock);

    my $sheet_chart = $workbook->add_chart(type => 'column', name => 'Overview');
    $sheet_chart->add_series(categories => '=Sales!$A$2:$A$7', values => '=Sales!$B$2:$B$7', name => 'North');
    $sheet_chart->set_title(name => 'North overview');

    $workbook->close() or die "cannot finish $path: $!";
}
