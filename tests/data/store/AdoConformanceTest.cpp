// Every operation of the data store through ADO and through the built-in engine, each on
// its own copy of the shipped template: the program must give the same answers whichever
// engine the machine lets it use. ADO needs the Jet OLE DB provider, which 32-bit Windows
// has and Wine has not.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "data/AdoEngine.h"
#include "data/JetFileEngine.h"
#include "data/MaintenanceStore.h"
#include "tests/support/InterventionRecords.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TestFiles.h"

using LumoUtility::DateTimeValue;
using LumoUtility::MakeDate;

namespace {

// Records as text, every field, so that a disagreement shows where it lies.
std::string Text(const DateTimeValue& date) {
  char text[40];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u%s", date.year, date.month,
                date.day, date.hour, date.minute, date.second, date.invalid ? " invalid" : "");
  return text;
}

std::string Text(double number) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", number);
  return text;
}

std::string Text(const VehicleRecord& car) {
  return std::to_string(car.ID) + "|" + car.TARGA + "|" + car.DESCRIZIONE + "|" +
         std::to_string(car.KM) + "|" + Text(car.DATA_KM) + "|" +
         (car.HasDate ? "date" : "no date");
}

std::string Text(const InterventionType& entry) {
  return std::to_string(entry.ID) + "|" + entry.INTERVENTO + "|" + std::to_string(entry.CADENZAKM) +
         "|" + entry.NOTE + "|" + (entry.FINERODAGGIO ? "running-in" : "-");
}

std::string Text(const ScheduleRow& row) {
  return std::to_string(row.ID) + "|" + std::to_string(row.ID_INTERVENTO) + "|" + row.INTERVENTO +
         "|" + row.NOTE + "|" + row.NOTE_INTERV + "|" + (row.FINERODAGGIO ? "running-in" : "-") +
         "|" + Text(row.DATA) + "|" + std::to_string(row.KM) + "|" + std::to_string(row.CADENZAKM) +
         "|" + Text(row.COSTO);
}

template <typename Item>
std::string Lines(const std::vector<Item>& items) {
  std::string text = std::to_string(items.size()) + " rows\n";
  for (const Item& item : items) {
    if constexpr (std::is_same_v<Item, std::string>) {
      text += item + "\n";
    } else {
      text += Text(item) + "\n";
    }
  }
  return text;
}

std::string Flag(bool value) { return value ? "true" : "false"; }

class AdoConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!JetProviderRegistered()) {
      GTEST_SKIP() << "the Jet OLE DB 4.0 provider is not registered here (never under Wine): "
                      "there is no ADO to compare the built-in engine with";
    }
    std::filesystem::copy_file(TemplateFile(), adoFile_);
    std::filesystem::copy_file(TemplateFile(), builtInFile_);
  }

  // Runs the operation on a fresh store over each copy, as a screen makes one for each
  // piece of work, and expects the same answer, error flag and error text from both.
  // Answers the built-in engine's answer, for checks that both did the right thing.
  template <typename Operation>
  std::string Same(const std::string& what, Operation operation) {
    MaintenanceStore ado(MakeAdoEngine(), adoFile_.wstring(), Recorder(adoBoxes_));
    MaintenanceStore builtIn(MakeJetFileEngine(), builtInFile_.wstring(), Recorder(builtInBoxes_));
    const std::string viaAdo = operation(ado);
    const std::string viaBuiltIn = operation(builtIn);
    EXPECT_EQ(viaAdo, viaBuiltIn) << what;
    EXPECT_EQ(ado.ErrorFlag(), builtIn.ErrorFlag()) << what;
    EXPECT_EQ(ado.ErrorText(), builtIn.ErrorText()) << what;
    EXPECT_EQ(adoBoxes_, builtInBoxes_) << what;
    return viaBuiltIn;
  }

  std::string SaveVehicle(const std::string& what, const VehicleRecord& car) {
    return Same(what, [&](MaintenanceStore& store) {
      VehicleRecord copy = car;
      bool saved = store.SaveVehicle(copy);
      return Flag(saved) + " " + Text(copy);
    });
  }

  std::string SaveIntervention(const std::string& what, std::int32_t vehicle,
                               const VehicleIntervention& done) {
    return Same(what, [&](MaintenanceStore& store) {
      return Flag(store.SaveVehicleIntervention(vehicle, done));
    });
  }

  std::string Schedule(std::int32_t vehicle) {
    return Same("schedule of vehicle " + std::to_string(vehicle),
                [&](MaintenanceStore& store) { return Lines(store.LoadSchedule(vehicle)); });
  }

  MaintenanceStore::MessageSink Recorder(std::vector<std::string>& boxes) {
    return [&boxes](const std::string& text, const std::string& caption) {
      boxes.push_back(caption + ": " + text);
    };
  }

  TemporaryDirectory folder_{"ado-conformance"};
  std::filesystem::path adoFile_ = folder_ / "ado.mdb";
  std::filesystem::path builtInFile_ = folder_ / "built-in.mdb";
  std::vector<std::string> adoBoxes_;
  std::vector<std::string> builtInBoxes_;
};

}  // namespace

TEST_F(AdoConformance, Catalogue) {
  auto count = [](MaintenanceStore& store) {
    return std::to_string(store.CountInterventionTypes());
  };
  auto list = [](MaintenanceStore& store) { return Lines(store.ListInterventionTypes()); };
  EXPECT_EQ(Same("count of the template", count), "25");
  EXPECT_EQ(Same("catalogue of the template", list).rfind("25 rows\n", 0), 0u);
  EXPECT_EQ(
      Same("seeding", [](MaintenanceStore& store) { return Flag(store.SeedInterventionTypes()); }),
      "true");
  EXPECT_EQ(Same("count after seeding", count), "26");

  InterventionType entry;
  entry.INTERVENTO = "Revisione dell'auto \xE8 bollino";  // "è" in the program's code page
  entry.CADENZAKM = 20000;
  entry.NOTE = "Ogni due anni, l'ultima a marzo";
  entry.FINERODAGGIO = true;
  auto save = [&](MaintenanceStore& store) { return Flag(store.SaveInterventionType(entry)); };
  EXPECT_EQ(Same("a new entry", save), "true");
  entry.ID = 27;
  entry.CADENZAKM = 25000;
  entry.FINERODAGGIO = false;
  EXPECT_EQ(Same("the entry changed", save), "true");
  entry.ID = 99;
  EXPECT_EQ(Same("an entry that does not exist changed", save), "false");

  InterventionType unused;
  unused.ID = 3;
  auto remove = [&](MaintenanceStore& store) { return Flag(store.DeleteInterventionType(unused)); };
  EXPECT_EQ(Same("an unused entry deleted", remove), "true");
  EXPECT_EQ(Same("the deleted entry deleted again", remove), "false");
  std::string catalogue = Same("catalogue after the changes", list);
  EXPECT_NE(catalogue.find("27|Revisione dell'auto \xE8 bollino|25000|"), std::string::npos)
      << catalogue;
}

TEST_F(AdoConformance, Vehicles) {
  VehicleRecord car;
  car.TARGA = "O'BRIEN";
  car.DESCRIZIONE = "Utilitaria \xE8 blu, 5 porte";
  car.KM = 1500;
  EXPECT_EQ(SaveVehicle("a vehicle without a date", car).rfind("true 1|", 0), 0u);
  VehicleRecord second;
  second.TARGA = "ab123cd";
  second.KM = 42;
  second.DATA_KM = MakeDate(2020, 3, 5);
  second.HasDate = true;
  EXPECT_EQ(SaveVehicle("a vehicle with a date", second).rfind("true 2|", 0), 0u);
  VehicleRecord third;
  third.TARGA = "AB123CE";
  third.DESCRIZIONE = "\x80 1.000";  // "€" in the program's code page
  SaveVehicle("a third vehicle", third);
  car.KM = 2500;
  car.DATA_KM = MakeDate(2021, 12, 31);
  car.HasDate = true;
  SaveVehicle("the first vehicle changed", car);
  second.HasDate = false;
  SaveVehicle("the second vehicle's date taken away", second);

  for (const char* plate : {"O'BRIEN", "o'brien", "AB123CD", "AB123CE", "ZZ999ZZ"}) {
    Same(std::string("loading ") + plate,
         [&](MaintenanceStore& store) { return Text(store.LoadVehicleByPlate(plate)); });
    Same(std::string("finding ") + plate, [&](MaintenanceStore& store) {
      return std::to_string(store.FindVehicleIdByPlate(plate));
    });
  }
  std::string plates = Same("the plates", [](MaintenanceStore& store) {
    std::vector<std::string> list;
    bool listed = store.ListPlates(list);
    return Flag(listed) + " " + Lines(list);
  });
  EXPECT_EQ(plates.rfind("true 3 rows\n", 0), 0u) << plates;
}

TEST_F(AdoConformance, ScheduleAndHistory) {
  Same("seeding", [](MaintenanceStore& store) { return Flag(store.SeedInterventionTypes()); });
  VehicleRecord car;
  car.TARGA = "AB123CD";
  car.KM = 20000;
  SaveVehicle("the vehicle", car);
  VehicleRecord other;
  other.TARGA = "ZZ999ZZ";
  SaveVehicle("another vehicle", other);

  EXPECT_EQ(Schedule(1).rfind("26 rows\n", 0), 0u);
  SaveIntervention("an oil change", 1, Done(1, 16000, MakeDate(2022, 5, 1), 84.5, "olio 5W30"));
  SaveIntervention("an older oil change inserted later", 1,
                   Done(1, 15000, MakeDate(2021, 5, 1), 90, "Fatto dal meccanico, l'anno scorso"));
  SaveIntervention("a cabin filter", 1, Done(4, 4000, MakeDate(2021, 6, 15), 12.3456789, ""));
  SaveIntervention("another vehicle's air filter", 2, Done(3, 1000, MakeDate(2020, 1, 1), 5, "x"));
  SaveIntervention("a large cost", 2, Done(5, 100, MakeDate(1999, 12, 31), 1234567.0, "caro"));
  std::string schedule = Schedule(1);
  EXPECT_EQ(schedule.rfind("26 rows\n", 0), 0u) << schedule;
  Schedule(2);
  Schedule(3);  // no such vehicle: the catalogue alone

  VehicleIntervention fix = Done(1, 15500, MakeDate(2021, 5, 2), 91.25, "corretto");
  fix.ID = 2;
  EXPECT_EQ(SaveIntervention("a correction on another vehicle's row", 2, fix), "false");
  EXPECT_EQ(SaveIntervention("a correction", 1, fix), "true");
  Schedule(1);

  auto history = [](std::int32_t vehicle) {
    return [vehicle](MaintenanceStore& store) { return Lines(store.ListVehicleHistory(vehicle)); };
  };
  EXPECT_EQ(Same("the vehicle's history", history(1)).rfind("3 rows\n", 0), 0u);
  auto remove = [](std::int32_t vehicle, std::int32_t row) {
    return [=](MaintenanceStore& store) {
      return Flag(store.DeleteVehicleIntervention(vehicle, row));
    };
  };
  EXPECT_EQ(Same("deleting another vehicle's row", remove(2, 1)), "false");
  EXPECT_EQ(Same("deleting a row", remove(1, 1)), "true");
  EXPECT_EQ(Same("deleting it again", remove(1, 1)), "false");
  Same("the history after the deletion", history(1));
  Same("another vehicle's history", history(2));

  InterventionType used;
  used.ID = 1;
  EXPECT_EQ(Same("deleting an entry in use",
                 [&](MaintenanceStore& store) { return Flag(store.DeleteInterventionType(used)); }),
            "false");
}

TEST_F(AdoConformance, ADatabaseThatCannotBeOpened) {
  std::filesystem::remove(adoFile_);
  std::filesystem::remove(builtInFile_);
  Same("count",
       [](MaintenanceStore& store) { return std::to_string(store.CountInterventionTypes()); });
  Same("catalogue", [](MaintenanceStore& store) { return Lines(store.ListInterventionTypes()); });
  Same("loading",
       [](MaintenanceStore& store) { return Text(store.LoadVehicleByPlate("AB123CD")); });
  Same("schedule", [](MaintenanceStore& store) { return Lines(store.LoadSchedule(1)); });
}
