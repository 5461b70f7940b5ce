#!/usr/bin/perl
# Writes perl-chart.xls: values of every kind, Unicode text, a formula and an embedded pie chart,
# as Spreadsheet::WriteExcel writes them. Run: perl make-perl-workbook.pl
use strict;
use warnings;
use utf8;
use Spreadsheet::WriteExcel;

my $workbook = Spreadsheet::WriteExcel->new('perl-chart.xls') or die "cannot create perl-chart.xls: $!";
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
$workbook->close();
