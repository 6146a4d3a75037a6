// Road tests of the sales register: the firm FIRMA1 made through the
// program, its sales files made by entering the register once, and its main
// register of the run's working year opened on the test's side.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tables/sales_tables.h"
#include "tests/app/program_road.h"
#include "tests/sales/sales_fixture.h"

constexpr const char* INTO_SALES = "s{ENTER}s";

class SalesRoadTest : public ProgramRoadTest {
 protected:
  void MakeFirm() { RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}"); }
  void MakeFirmWithSales() {
    MakeFirm();
    RunToEnd(std::string(LOGO) + INTO_SALES + "{ESC}{ESC}");
  }
  // The headers of the firm's main register of the run's year.
  void OpenFirmHeaders() {
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = std::stoi(date.substr(0, 4));
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  }
  // The headers and the lines.
  void OpenFirmRegister() {
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  }
};

// The same with no print queue: the print dialog offers the file only.
class SalesPrintingRoadTest : public SalesRoadTest {
 protected:
  void SetUp() override {
    SalesRoadTest::SetUp();
    if (HasFatalFailure()) return;
    printQueue.Start(dir);
  }
  void TearDown() override {
    printQueue.Stop();
    SalesRoadTest::TearDown();
  }
  NoPrintQueue printQueue;
};

// A free-text line: the name, past the other name fields and the GTU menu.
inline std::string LineKeys(const char* name, const char* quantity, const char* price, const char* rate) {
  return std::string("{ENTER}") + name + "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}" + quantity +
         "{ENTER}" + price + "{ENTER}{ENTER}{ENTER}{ENTER}" + rate + "{F2}t";
}

// From the register: " Dopisz " of FV/1 issued and sold on `day` (DDMMYY)
// with a buyer typed by hand, F4 from the name, 3 x 10.00 at the default
// rate and 2 x 12.50 at the first reduced one; the header form then waits
// in the name again, the document not saved yet.
inline std::string InvoiceLinesKeys(const std::string& day = "100325",
                                    const std::string& buyerName = "Odbiorca Testowy") {
  const std::string dates = day + "{ENTER}" + day + "{ENTER}";
  const std::string buyer = "{ENTER}{ENTER}{ENTER}{ENTER}" + buyerName;
  return "d{ENTER}{ENTER}{F2}" + dates + buyer + "{F4}" + LineKeys("Towar A", "3", "10", "{ENTER}") +
         LineKeys("Towar B", "2", "12.50", "{DOWN}{ENTER}") + "{ESC}{ESC}{ESC}";
}
// The same saved with F2; the form of the next document then waits at its
// delivery menu.
inline std::string InvoiceKeys(const std::string& day = "100325", const std::string& buyerName = "Odbiorca Testowy") {
  return InvoiceLinesKeys(day, buyerName) + "{F2}t";
}
