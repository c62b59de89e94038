// The monthly report window.
#include "ReportView.h"

#pragma resource "*.gox"
