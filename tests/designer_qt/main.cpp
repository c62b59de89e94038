// The designer's widget tests run offscreen with one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>

#include "framework/widgets/render.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vaq::widgets::PrepareApplication();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
