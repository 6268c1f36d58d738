// Importing 1,999 contacts from a CSV and from a vCard file (the reader alone, and the whole
// import: read, planned and applied to an empty directory, which takes 999 and refuses the rest),
// beside reading the same file's lines with QTextStream, in the same run.
#include "device/lib/contacts.h"
#include "device/lib/phonebook.h"

#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

constexpr int kContacts = 1999;

QByteArray CsvFile()
{
    QString text = QStringLiteral("Nom;Fax;Second numéro;Courriel;Groupes\r\n");
    for (int n = 1; n <= kContacts; ++n)
        text += QStringLiteral("\"Agence Île-de-France %1\";01 40 %2;;agence%1@example.fr;Équipe %3 (%4)\r\n")
                    .arg(n)
                    .arg(n, 6, 10, QLatin1Char('0'))
                    .arg(n % 20)
                    .arg(n % 20 + 1, 4, 10, QLatin1Char('0'));
    return text.toUtf8();
}

QByteArray VCardFile()
{
    QString text;
    for (int n = 1; n <= kContacts; ++n)
        text += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Agence Île-de-France %1\r\nN:Agence;Île-de-France %1;;;\r\n"
                               "TEL;TYPE=work,voice:01 40 99 %2\r\nTEL;TYPE=work,fax:01 40 %2\r\n"
                               "EMAIL;TYPE=internet:agence%1@example.fr\r\nCATEGORIES:Équipe %3 (%4)\r\nEND:VCARD\r\n")
                    .arg(n)
                    .arg(n, 6, 10, QLatin1Char('0'))
                    .arg(n % 20)
                    .arg(n % 20 + 1, 4, 10, QLatin1Char('0'));
    return text.toUtf8();
}

const QByteArray& File(contacts::Format format)
{
    static const QByteArray csv = CsvFile();
    static const QByteArray vcard = VCardFile();
    return format == contacts::Format::csv ? csv : vcard;
}

// The floor: the file's lines, decoded, and nothing else.
void TextStreamLines(benchmark::State& state, contacts::Format format)
{
    const QByteArray& bytes = File(format);
    for (auto _ : state) {
        QTextStream stream(bytes);
        qsizetype lines = 0;
        QString line;
        while (stream.readLineInto(&line))
            lines += !line.isEmpty();
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void Read(benchmark::State& state, contacts::Format format)
{
    const QByteArray& bytes = File(format);
    for (auto _ : state) {
        contacts::ReadResult read = contacts::Read(format, bytes);
        benchmark::DoNotOptimize(read.contacts.size());
        state.counters["contacts"] = double(read.contacts.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void Import(benchmark::State& state, contacts::Format format)
{
    const QByteArray& bytes = File(format);
    for (auto _ : state) {
        CPhoneBook directory;
        contacts::ImportPlan plan = contacts::PlanImport(directory, contacts::Read(format, bytes));
        directory.TakeContents(*plan.result);
        benchmark::DoNotOptimize(directory.GetCount(4));
        state.counters["added"] = plan.added;
        state.counters["refused"] = plan.refused;
    }
}

BENCHMARK_CAPTURE(TextStreamLines, Csv, contacts::Format::csv)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Read, Csv, contacts::Format::csv)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Import, Csv, contacts::Format::csv)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TextStreamLines, VCard, contacts::Format::vcard)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Read, VCard, contacts::Format::vcard)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Import, VCard, contacts::Format::vcard)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
