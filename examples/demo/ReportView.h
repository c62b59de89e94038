// The monthly report window (Qt-based widgets).
#pragma once

#include "forms.h"

#define REPORT_BASE TForm  // class TReportView : public TOther in a macro does not count

class TReportView : public TForm {
 public:
  TLabel* lblTitle;
  TStringGrid* grdReport;
  TStatusBar* sbStatus;
};
