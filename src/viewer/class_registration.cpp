// The frameworks' standard classes that the module registers itself outside the IDE.
#include "host/core/flags.h"
#include "host/framework/classes.h"
#include "viewer/viewer.h"

namespace rux {

namespace {

const char* const kNativeClasses[] = {
    "TOpenDialog", "TSaveDialog", "TOpenPictureDialog", "TSavePictureDialog", "TFontDialog", "TColorDialog",
    "TPrintDialog", "TPrinterSetupDialog", "TFindDialog", "TReplaceDialog", "TPageSetupDialog",
    "TTimer", "TPaintBox", "TMediaPlayer",
    "TMainMenu", "TPopupMenu", "TLabel", "TEdit", "TMemo", "TButton", "TCheckBox", "TRadioButton", "TListBox",
    "TComboBox", "TScrollBar", "TGroupBox", "TRadioGroup", "TPanel", "TActionList",
    "TBitBtn", "TSpeedButton", "TMaskEdit", "TStringGrid", "TDrawGrid", "TImage", "TShape", "TBevel",
    "TScrollBox", "TCheckListBox", "TSplitter", "TStaticText", "TControlBar", "TApplicationEvents",
    "TValueListEditor", "TLabeledEdit", "TColorBox",
    "TTabControl", "TPageControl", "TImageList", "TRichEdit", "TTrackBar", "TProgressBar", "TUpDown", "THotKey",
    "TAnimate", "TDateTimePicker", "TMonthCalendar", "TTreeView", "TListView", "THeaderControl", "TStatusBar",
    "TToolBar", "TCoolBar", "TPageScroller", "TComboBoxEx",
    "TTabSheet", "TToolButton", "TAction",
    "TCustomDockForm", "TToolDockForm",
    "TOleContainer",
    "TDdeClientConv", "TDdeClientItem", "TDdeServerConv", "TDdeServerItem",
    "TTabSet", "TOutline", "TTabbedNotebook", "TNotebook", "THeader", "TFileListBox", "TDirectoryListBox",
    "TDriveComboBox", "TFilterComboBox"};

const char* const kQtClasses[] = {
    "TMainMenu", "TPopupMenu", "TLabel", "TEdit", "TMemo", "TButton", "TCheckBox", "TRadioButton", "TListBox",
    "TComboBox", "TScrollBar", "TGroupBox", "TRadioGroup", "TPanel", "TActionList",
    "TSpeedButton", "TBitBtn", "TMaskEdit", "TStringGrid", "TDrawGrid", "TImage", "TShape", "TBevel", "TScrollBox",
    "TCheckListBox", "TSplitter", "TControlBar", "TLCDNumber", "TPaintBox",
    "TTabControl", "TPageControl", "TImageList", "TTrackBar", "TProgressBar", "TTreeView", "TListView",
    "THeaderControl", "TAnimate", "TStatusBar", "TToolBar", "TTextViewer", "TTextBrowser", "TSpinEdit", "TIconView",
    "TOpenDialog", "TSaveDialog", "TFontDialog", "TColorDialog", "TFindDialog", "TReplaceDialog",
    "TDirectoryTreeView", "TFileListView", "TFileIconView", "TFileEdit", "TFileHistoryComboBox", "TFilterComboBox",
    "TTabSheet", "TToolButton", "TAction",
    "TGridScrollBar"};

bool Registered = false;

}  // namespace

void RegisterFrameworkClasses() {
  if (Registered || vaq::InIDE) return;
  Registered = true;
  for (const char* name : kNativeClasses) vaq::RegisterClass(vaq::TClassGroup::Native, name);
  for (const char* name : kQtClasses) vaq::RegisterClass(vaq::TClassGroup::QtBased, name);
}

}  // namespace rux
