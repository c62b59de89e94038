// What the two XLIFF readers share: a SAX handler that takes each unit element whole, reads it
// with the format's own unit reader into the current <file>'s units, and gives the document at
// the end (or fails when the root was never the format's).
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "exchange/unit.h"
#include "exchange/xml_io.h"

namespace rux::exchange {

class UnitReader : public xml::Handler {
 public:
  // `ReadUnit` fills a unit from its element (raising through xml::Fail); `formatName` names the
  // format in the message for a document that is not one ("XLIFF 2.0").
  using TReadUnit = void (*)(const xml::Element& node, Unit& unit, const std::string& fileName);
  UnitReader(const std::string& fileName, TReadUnit readUnit, std::string_view formatName)
      : fileName_(fileName), readUnit_(readUnit), formatName_(formatName) {}

  bool HoldsText(std::string_view name) const override {
    return name == "source" || name == "target" || name == "note";
  }

  void Captured(xml::Element&& element) override {
    Unit unit;
    readUnit_(element, unit, fileName_);
    document_.Files.back().Units.push_back(std::move(unit));
  }

  Document Finish() {
    if (!root_) NotTheFormat(1);
    return std::move(document_);
  }

 protected:
  [[noreturn]] void NotTheFormat(int line) const {
    xml::Fail(fileName_, line, "not an " + std::string(formatName_) + " document");
  }

  const std::string& fileName_;
  Document document_;
  bool root_ = false;

 private:
  TReadUnit readUnit_;
  std::string_view formatName_;
};

}  // namespace rux::exchange
