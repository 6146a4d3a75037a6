// The register driver tests: the register fixture with one simulated
// register on the fake port, goods records as the jobs hand them over, and
// the layer's connection opened and closed around a test's operations.
#pragma once
#include <string>

#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"
#include "tests/fiscal/register_fixture.h"
#include "tests/fiscal/register_simulators.h"

struct Goods {
  std::string code = "1", name = "CUKIER";
  double price = 3.5;
  int vat = 1, department = 1;
  long record = 1;
  // Blank-padded to the goods table's widths, as the jobs pass them.
  std::string code18, name40;
  KFTowar Record() {
    code18 = code;
    code18.resize(18, ' ');
    name40 = name;
    name40.resize(40, ' ');
    return KFTowar{department, code18.c_str(), 18, name40.c_str(), 40, price, 12, 4, vat, "20261211", record};
  }
};

class DriverTest : public RegisterTest {
 protected:
  // The type, its register on the line, the connection open.
  void Connect(int type, LineDevice* device) {
    UseType(type);
    port.device = device;
    ASSERT_EQ(KFOpen(), 0);
  }
  void TearDown() override {
    KFClose();
    RegisterTest::TearDown();
  }
  // An operation on goods, with the keys for the boxes it shows.
  int Send(Goods goods, const char* keys = "") {
    return RunUntilEsc([&] { KFTowar g = goods.Record(); return KFSendTow(&g); }, keys);
  }
  int Report(Goods goods, double* quantity, double* value, const char* keys = "") {
    *quantity = *value = 0;
    return RunUntilEsc([&] { KFTowar g = goods.Record(); return KFRapTow(&g, quantity, value); }, keys);
  }
  int Check(Goods goods, const char* keys = "") {
    return RunUntilEsc([&] { KFTowar g = goods.Record(); return KFSprawdzKod(&g); }, keys);
  }
  int Delete(Goods goods, const char* keys = "") {
    return RunUntilEsc([&] { KFTowar g = goods.Record(); return KFDelete(&g); }, keys);
  }
  // The price list read from the register into a file, and the file's text.
  std::string List(int* result, const char* keys = "") {
    FILE* file = std::fopen("cennik.cen", "w+");
    *result = RunUntilEsc([&] { return kasfis_cennik_odczyt(file); }, keys);
    std::fclose(file);
    return FileText("cennik.cen");
  }
};
