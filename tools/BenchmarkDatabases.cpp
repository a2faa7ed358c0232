#include "tools/BenchmarkDatabases.h"

#include <string>

#include "data/jet/DatabaseCreator.h"
#include "data/jet/WritableDatabase.h"

void WriteExportDatabase(const std::filesystem::path& file, long rows) {
  Jet::CreateEmptyDatabase(file);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(file);
  using T = Jet::NewColumnType;
  database.CreateTable({kExportTable,
                        {{u"ID", T::kAutoNumber},
                         {u"TARGA", T::kText, 20},
                         {u"KM", T::kLong},
                         {u"COSTO", T::kDouble},
                         {u"DATA", T::kDateTime},
                         {u"NOTE", T::kText, 255}},
                        u"ID"},
                       46000.0);
  database.BeginWrites();
  for (long i = 0; i < rows; ++i) {
    std::u16string plate = u"AB" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"CD";
    database.InsertRow(
        kExportTable,
        {Jet::Value(), Jet::Value(plate), Jet::Value(static_cast<std::int32_t>(i * 7)),
         Jet::Value(i * 0.25), Jet::Value(Jet::DateTime{40000.0 + i % 5000}),
         Jet::Value(std::u16string(u"tagliando n. ") + std::u16string(i % 40, u'x'))});
  }
  database.CommitWrites();
}

void WriteScheduleDatabase(const std::filesystem::path& templateFile,
                           const std::filesystem::path& file, int rows) {
  constexpr int kKinds = 26;
  constexpr int kVehicles = 100;
  std::filesystem::remove(file);
  std::filesystem::copy_file(templateFile, file);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(file);
  database.BeginWrites();
  database.InsertRow(u"INTERVENTI", {Jet::Value(), Jet::Value(std::u16string(u"Candela")),
                                     Jet::Value(std::int32_t{6000}),
                                     Jet::Value(std::u16string(u"nota")), Jet::Value(false)});
  for (int i = 0; i < rows; ++i) {
    database.InsertRow(u"INTERVENTI_VEICOLO",
                       {Jet::Value(), Jet::Value(std::int32_t{1 + i % kVehicles}),
                        Jet::Value(std::int32_t{1 + (i / kVehicles) % kKinds}),
                        Jet::Value(std::int32_t{1000 + i}), Jet::Value(Jet::DateTime{44377.0}),
                        Jet::Value(84.5), Jet::Value(std::u16string(u"Tagliando"))});
  }
  database.CommitWrites();
}
