// The published classes of the two widget frameworks, in the catalogue notation read by
// class_registry.cpp:
//   group both|native|qt             the groups that the following lines go to
//   scalar KIND: Type Type ...       types of a simple kind (integer, int64, char, wchar, float,
//                                    string, lstring, wstring, variant, method)
//   enum Type: element element ...   an enumeration; set Type: element ... a set
//   class Name : Parent [registered] [items ItemClass]
//                                    a class; "A|B" names the native and the Qt-based parent
//     Prop, Prop: Type; Prop: Type   published properties (indented lines)
// A property type that is no scalar, enumeration or set is a class of the same group.
#include "framework/classes/catalogue_data.h"

namespace vaq::classes {

std::string_view CatalogueText() {
  return R"(
group both
scalar integer: Integer Longint Cardinal Byte Word SmallInt TColor TCursor TShortCut TImageIndex
scalar integer: TFontCharset THelpContext TConstraintSize TModalResult TTabOrder TBorderWidth
scalar integer: TDate TTime
scalar float: Double Extended TDateTime
scalar char: Char
scalar lstring: string TFileName TComponentName TFontName
scalar method: TNotifyEvent TCloseEvent TCloseQueryEvent TKeyEvent TKeyPressEvent TMouseEvent
scalar method: TMouseMoveEvent TDrawItemEvent TMeasureItemEvent TScrollEvent TTabChangingEvent
scalar method: TActionEvent THintEvent TLVChangeEvent TTVChangedEvent TFindDialogEvent
scalar method: TDrawCellEvent TSelectCellEvent TGetEditEvent TSetEditEvent TSectionNotifyEvent
scalar method: TDrawPanelEvent TCanResizeEvent TExceptionEvent TMessageEvent TUDClickEvent
enum Boolean: False True
enum TAlign: alNone alTop alBottom alLeft alRight alClient alCustom
set TAnchors: akLeft akTop akRight akBottom
enum TAlignment: taLeftJustify taRightJustify taCenter
enum TTextLayout: tlTop tlCenter tlBottom
enum TFontPitch: fpDefault fpVariable fpFixed
set TFontStyles: fsBold fsItalic fsUnderline fsStrikeOut
enum TScrollStyle: ssNone ssHorizontal ssVertical ssBoth
enum TScrollBarKind: sbHorizontal sbVertical
enum TBevelShape: bsBox bsFrame bsTopLine bsBottomLine bsLeftLine bsRightLine bsSpacer
enum TBevelStyle: bsLowered bsRaised
enum TPanelBevel: bvNone bvLowered bvRaised bvSpace
enum TShapeType: stRectangle stSquare stRoundRect stRoundSquare stEllipse stCircle
enum TButtonLayout: blGlyphLeft blGlyphRight blGlyphTop blGlyphBottom
enum TBitBtnKind: bkCustom bkOK bkCancel bkHelp bkYes bkNo bkClose bkAbort bkRetry bkIgnore bkAll
enum TCheckBoxState: cbUnchecked cbChecked cbGrayed
enum TComboBoxStyle: csDropDown csSimple csDropDownList csOwnerDrawFixed csOwnerDrawVariable
enum TListBoxStyle: lbStandard lbOwnerDrawFixed lbOwnerDrawVariable lbVirtual lbVirtualOwnerDraw
enum TEditCharCase: ecNormal ecUpperCase ecLowerCase
enum TFormBorderStyle: bsNone bsSingle bsSizeable bsDialog bsToolWindow bsSizeToolWin
set TBorderIcons: biSystemMenu biMinimize biMaximize biHelp
enum TFormStyle: fsNormal fsMDIChild fsMDIForm fsStayOnTop
enum TPosition: poDesigned poDefault poDefaultPosOnly poDefaultSizeOnly poScreenCenter poDesktopCenter poMainFormCenter poOwnerFormCenter
enum TWindowState: wsNormal wsMinimized wsMaximized
enum TTabStyle: tsTabs tsButtons tsFlatButtons
enum TTabPosition: tpTop tpBottom tpLeft tpRight
enum TViewStyle: vsIcon vsSmallIcon vsList vsReport
enum TTrackBarOrientation: trHorizontal trVertical
enum TProgressBarOrientation: pbHorizontal pbVertical
enum TStatusPanelStyle: psText psOwnerDraw
enum TSplitterResizeStyle: rsNone rsLine rsUpdate rsPattern
enum TToolButtonStyle: tbsButton tbsCheck tbsDropDown tbsSeparator tbsDivider
enum TPopupAlignment: paLeft paRight paCenter
set TOpenOptions: ofReadOnly ofOverwritePrompt ofHideReadOnly ofNoChangeDir ofShowHelp ofNoValidate ofAllowMultiSelect ofExtensionDifferent ofPathMustExist ofFileMustExist ofCreatePrompt ofShareAware ofNoReadOnlyReturn ofNoTestFileCreate ofEnableSizing
set TFindOptions: frDown frFindNext frHideMatchCase frHideWholeWord frHideUpDown frMatchCase frDisableMatchCase frDisableUpDown frDisableWholeWord frReplace frReplaceAll frWholeWord frShowHelp
set TFontDialogOptions: fdAnsiOnly fdTrueTypeOnly fdEffects fdFixedPitchOnly fdForceFontExist fdNoFaceSel fdNoOEMFonts fdNoSimulations fdNoSizeSel fdNoStyleSel fdNoVectorFonts fdShowHelp fdWysiwyg fdLimitSize fdScalableOnly fdApplyButton
set TGridOptions: goFixedVertLine goFixedHorzLine goVertLine goHorzLine goRangeSelect goDrawFocusSelected goRowSizing goColSizing goRowMoving goColMoving goEditing goTabs goRowSelect goAlwaysShowEditor goThumbTracking
enum TBrushStyle: bsSolid bsClear bsHorizontal bsVertical bsFDiagonal bsBDiagonal bsCross bsDiagCross
enum TPenStyle: psSolid psDash psDot psDashDot psDashDotDot psClear psInsideFrame
enum TBiDiMode: bdLeftToRight bdRightToLeft bdRightToLeftNoAlign bdRightToLeftReadingOnly
enum TImeMode: imDisable imClose imOpen imDontCare imSAlpha imAlpha imHira imSKata imKata imChinese imSHanguel imHanguel
enum TPrintRange: prAllPages prSelection prPageNums
enum TMPBtnType: btPlay btPause btStop btNext btPrev btStep btBack btRecord btEject
set TButtonSet: btPlay btPause btStop btNext btPrev btStep btBack btRecord btEject
enum TCalDayOfWeek: dowMonday dowTuesday dowWednesday dowThursday dowFriday dowSaturday dowSunday dowLocaleDefault
enum TDateTimeKind: dtkDate dtkTime
enum TDTDateFormat: dfShort dfLong
enum TUDOrientation: udHorizontal udVertical
enum TUDAlignButton: udLeft udRight
enum TDataMode: ddeAutomatic ddeManual
enum TOutlineStyle: osText osPlusMinusText osPictureText osPlusMinusPictureText osTreeText osTreePictureText
enum TDriveType: dtUnknown dtNoDrive dtFloppy dtFixed dtNetwork dtCDROM dtRAM

class TPersistent
class TComponent : TPersistent
  Name: TComponentName; Tag: Longint
class TFont : TPersistent
  Charset: TFontCharset; Color: TColor; Height: Integer; Name: TFontName; Pitch: TFontPitch
  Size: Integer; Style: TFontStyles
class TBrush : TPersistent
  Color: TColor; Style: TBrushStyle
class TPen : TPersistent
  Color: TColor; Style: TPenStyle; Width: Integer
class TStrings : TPersistent
class TStringList : TStrings
class TGraphic : TPersistent
class TBitmap : TGraphic
class TIcon : TGraphic
class TPicture : TPersistent
class TSizeConstraints : TPersistent
  MaxHeight, MaxWidth, MinHeight, MinWidth: TConstraintSize
class TCollectionItem : TPersistent
class TCollection : TPersistent

class TDataModule : TComponent registered
  OldCreateOrder: Boolean; OnCreate, OnDestroy: TNotifyEvent
class TDataSource : TComponent
  AutoEdit, Enabled: Boolean; OnDataChange, OnStateChange, OnUpdateData: TNotifyEvent
class TCustomImageList : TComponent
  AllocBy, Height, Width: Integer; BkColor: TColor; OnChange: TNotifyEvent
class TImageList : TCustomImageList registered

class TBasicAction : TComponent
  OnExecute, OnUpdate: TNotifyEvent
class TContainedAction : TBasicAction
  Category: string
class TCustomAction : TContainedAction
class TAction : TCustomAction registered
  Caption: TCaption; Checked, Enabled, Visible: Boolean; HelpContext: THelpContext; Hint: string
  ImageIndex: TImageIndex; ShortCut: TShortCut; OnHint: THintEvent
class TCustomActionList : TComponent
class TActionList : TCustomActionList registered
  Images: TCustomImageList; OnChange: TNotifyEvent; OnExecute, OnUpdate: TActionEvent

class TMenuItem : TComponent
  Caption: TCaption; Checked, Default, Enabled, RadioItem, Visible: Boolean; GroupIndex: Byte
  Hint: string; ImageIndex: TImageIndex; ShortCut: TShortCut; Action: TBasicAction
  OnClick: TNotifyEvent
class TMenu : TComponent
  Images: TCustomImageList; Items: TMenuItem
class TMainMenu : TMenu registered
  OnChange: TNotifyEvent
class TPopupMenu : TMenu registered
  Alignment: TPopupAlignment; AutoPopup: Boolean; OnPopup: TNotifyEvent

class TCommonDialog : TComponent
  HelpContext: THelpContext; OnClose, OnShow: TNotifyEvent
class TOpenDialog : TCommonDialog registered
  DefaultExt: string; FileName: TFileName; Filter: string; FilterIndex: Integer
  InitialDir: string; Options: TOpenOptions; Title: string
  OnCanClose, OnFolderChange, OnSelectionChange, OnTypeChange: TNotifyEvent
class TSaveDialog : TOpenDialog registered
class TFontDialog : TCommonDialog registered
  Font: TFont; MinFontSize, MaxFontSize: Integer; Options: TFontDialogOptions; OnApply: TNotifyEvent
class TColorDialog : TCommonDialog registered
  Color: TColor; CustomColors: TStrings
class TFindDialog : TCommonDialog registered
  FindText: string; Left, Top: Integer; Options: TFindOptions; OnFind: TNotifyEvent
class TReplaceDialog : TFindDialog registered
  ReplaceText: string; OnReplace: TNotifyEvent

group native
scalar lstring: TCaption
class TControl : TComponent
  Align: TAlign; Anchors: TAnchors; BiDiMode: TBiDiMode; Caption: TCaption; Color: TColor
  Constraints: TSizeConstraints; Cursor: TCursor; Enabled: Boolean; Font: TFont; Hint: string
  Left, Top, Width, Height: Integer; ParentBiDiMode, ParentColor, ParentFont: Boolean
  ParentShowHint, ShowHint, Visible: Boolean; PopupMenu: TPopupMenu
  OnClick, OnDblClick: TNotifyEvent; OnMouseDown, OnMouseUp: TMouseEvent
  OnMouseMove: TMouseMoveEvent; OnResize: TNotifyEvent
class TWinControl : TControl
  ClientHeight, ClientWidth: Integer; Ctl3D, ParentCtl3D: Boolean; HelpContext: THelpContext
  ImeMode: TImeMode; ImeName: string; TabOrder: TTabOrder; TabStop: Boolean
  OnEnter, OnExit: TNotifyEvent; OnKeyDown, OnKeyUp: TKeyEvent; OnKeyPress: TKeyPressEvent
class TGraphicControl : TControl

group qt
scalar wstring: TCaption
class TControl : TComponent
  Align: TAlign; Anchors: TAnchors; Caption: TCaption; Color: TColor
  Constraints: TSizeConstraints; Cursor: TCursor; Enabled: Boolean; Font: TFont; Hint: string
  Left, Top, Width, Height: Integer; ParentColor, ParentFont: Boolean
  ParentShowHint, ShowHint, Visible: Boolean; PopupMenu: TPopupMenu
  OnClick, OnDblClick: TNotifyEvent; OnMouseDown, OnMouseUp: TMouseEvent
  OnMouseMove: TMouseMoveEvent; OnResize: TNotifyEvent
class TWidgetControl : TControl
  ClientHeight, ClientWidth: Integer; HelpContext: THelpContext; TabOrder: TTabOrder
  TabStop: Boolean; OnEnter, OnExit: TNotifyEvent; OnKeyDown, OnKeyUp: TKeyEvent
  OnKeyPress: TKeyPressEvent
class TGraphicControl : TControl

group both
class TScrollingWinControl : TWinControl|TWidgetControl
  AutoScroll: Boolean
class TCustomForm : TScrollingWinControl
class TForm : TCustomForm registered
  ActiveControl: TWinControl|TWidgetControl; BorderIcons: TBorderIcons
  BorderStyle: TFormBorderStyle; FormStyle: TFormStyle; Icon: TIcon; KeyPreview: Boolean
  Menu: TMainMenu; OldCreateOrder: Boolean; PixelsPerInch, TextHeight: Integer
  Position: TPosition; WindowState: TWindowState
  OnActivate, OnCreate, OnDeactivate, OnDestroy, OnHide, OnPaint, OnShow: TNotifyEvent
  OnClose: TCloseEvent; OnCloseQuery: TCloseQueryEvent
class TCustomFrame : TScrollingWinControl
class TFrame : TCustomFrame registered

class TCustomLabel : TGraphicControl
  Alignment: TAlignment; AutoSize, Transparent, WordWrap: Boolean; FocusControl: TWinControl|TWidgetControl
  Layout: TTextLayout
class TLabel : TCustomLabel registered
class TCustomEdit : TWinControl|TWidgetControl
  AutoSelect, AutoSize, ReadOnly: Boolean; CharCase: TEditCharCase; MaxLength: Integer
  PasswordChar: Char; Text: TCaption; OnChange: TNotifyEvent
class TEdit : TCustomEdit registered
class TCustomMaskEdit : TCustomEdit
  EditMask: string
class TMaskEdit : TCustomMaskEdit registered
class TCustomMemo : TCustomEdit
  Alignment: TAlignment; Lines: TStrings; ScrollBars: TScrollStyle; WantReturns, WantTabs: Boolean
  WordWrap: Boolean
class TMemo : TCustomMemo registered
class TButtonControl : TWinControl|TWidgetControl
class TButton : TButtonControl registered
  Cancel, Default: Boolean; ModalResult: TModalResult
class TBitBtn : TButton registered
  Glyph: TBitmap; Kind: TBitBtnKind; Layout: TButtonLayout; Margin, NumGlyphs, Spacing: Integer
class TSpeedButton : TGraphicControl registered
  AllowAllUp, Down, Flat: Boolean; Glyph: TBitmap; GroupIndex: Integer; Layout: TButtonLayout
  NumGlyphs, Spacing: Integer
class TCheckBox : TButtonControl registered
  Alignment: TAlignment; AllowGrayed, Checked: Boolean; State: TCheckBoxState
class TRadioButton : TButtonControl registered
  Alignment: TAlignment; Checked: Boolean
class TCustomListBox : TWinControl|TWidgetControl
  Columns, ItemHeight, ItemIndex: Integer; Items: TStrings; MultiSelect, Sorted: Boolean
  Style: TListBoxStyle; OnDrawItem: TDrawItemEvent; OnMeasureItem: TMeasureItemEvent
class TListBox : TCustomListBox registered
class TCheckListBox : TCustomListBox registered
  AllowGrayed: Boolean; OnClickCheck: TNotifyEvent
class TCustomComboBox : TWinControl|TWidgetControl
  DropDownCount, ItemHeight, ItemIndex, MaxLength: Integer; Items: TStrings; Sorted: Boolean
  Style: TComboBoxStyle; Text: TCaption; OnChange, OnDropDown: TNotifyEvent
class TComboBox : TCustomComboBox registered
class TFilterComboBox : TCustomComboBox registered
  FileList: TComponent; Filter: string
class TScrollBar : TWinControl|TWidgetControl registered
  Kind: TScrollBarKind; LargeChange, SmallChange, Max, Min, PageSize, Position: Integer
  OnChange: TNotifyEvent; OnScroll: TScrollEvent
class TCustomGroupBox : TWinControl|TWidgetControl
class TGroupBox : TCustomGroupBox registered
class TRadioGroup : TCustomGroupBox registered
  Columns, ItemIndex: Integer; Items: TStrings
class TCustomPanel : TWinControl|TWidgetControl
  Alignment: TAlignment; BevelInner, BevelOuter: TPanelBevel; BevelWidth: Integer
  BorderWidth: TBorderWidth
class TPanel : TCustomPanel registered
class TCustomControlBar : TWinControl|TWidgetControl
  AutoDrag, AutoDock: Boolean; Picture: TPicture; RowSize: Integer
class TControlBar : TCustomControlBar registered
class TPaintBox : TGraphicControl registered
  OnPaint: TNotifyEvent
class TImage : TGraphicControl registered
  AutoSize, Center, Proportional, Stretch, Transparent: Boolean; Picture: TPicture
class TShape : TGraphicControl registered
  Brush: TBrush; Pen: TPen; Shape: TShapeType
class TBevel : TGraphicControl registered
  Shape: TBevelShape; Style: TBevelStyle
class TScrollBox : TScrollingWinControl registered
class TSplitter : TGraphicControl registered
  AutoSnap, Beveled: Boolean; MinSize: Integer; ResizeStyle: TSplitterResizeStyle
  OnCanResize: TCanResizeEvent; OnMoved: TNotifyEvent

class TCustomGrid : TWinControl|TWidgetControl
  ColCount, RowCount, FixedCols, FixedRows, DefaultColWidth, DefaultRowHeight: Integer
  FixedColor: TColor; Options: TGridOptions; ScrollBars: TScrollStyle
  OnDrawCell: TDrawCellEvent; OnSelectCell: TSelectCellEvent
class TDrawGrid : TCustomGrid registered
  OnGetEditText: TGetEditEvent; OnSetEditText: TSetEditEvent
class TStringGrid : TDrawGrid registered

class TCustomTabControl : TWinControl|TWidgetControl
  HotTrack, MultiLine: Boolean; Images: TCustomImageList; Style: TTabStyle
  TabPosition: TTabPosition; OnChange: TNotifyEvent; OnChanging: TTabChangingEvent
class TTabControl : TCustomTabControl registered
  TabIndex: Integer; Tabs: TStrings
class TPageControl : TCustomTabControl registered
  ActivePage: TTabSheet
class TTabSheet : TWinControl|TWidgetControl registered
  ImageIndex: TImageIndex; PageIndex: Integer; TabVisible: Boolean; PageControl: TPageControl
class TTrackBar : TWinControl|TWidgetControl registered
  Frequency, LineSize, Max, Min, PageSize, Position: Integer
  Orientation: TTrackBarOrientation; OnChange: TNotifyEvent
class TProgressBar : TWinControl|TWidgetControl registered
  Max, Min, Position, Step: Integer; Orientation: TProgressBarOrientation; Smooth: Boolean

class TTreeNodes : TPersistent
class TCustomTreeView : TWinControl|TWidgetControl
  AutoExpand, HideSelection, ReadOnly, RowSelect, ShowButtons, ShowLines, ShowRoot: Boolean
  Images, StateImages: TCustomImageList; Indent: Integer; Items: TTreeNodes
  OnChange: TTVChangedEvent
class TTreeView : TCustomTreeView registered
class TListColumn : TCollectionItem
  Alignment: TAlignment; AutoSize: Boolean; Caption: TCaption; ImageIndex: TImageIndex
  MaxWidth, MinWidth, Width: Integer
class TListColumns : TCollection items TListColumn
class TListItems : TPersistent
class TCustomListView : TWinControl|TWidgetControl
  Columns: TListColumns; ColumnClick, HideSelection, MultiSelect, ReadOnly, RowSelect: Boolean
  Items: TListItems; LargeImages, SmallImages, StateImages: TCustomImageList
  ViewStyle: TViewStyle; OnChange: TLVChangeEvent
class TListView : TCustomListView registered
class THeaderSection : TCollectionItem
  Alignment: TAlignment; AllowClick, AutoSize: Boolean; ImageIndex: TImageIndex
  MaxWidth, MinWidth, Width: Integer; Text: TCaption
class THeaderSections : TCollection items THeaderSection
class TCustomHeaderControl : TWinControl|TWidgetControl
  Images: TCustomImageList; Sections: THeaderSections; OnSectionClick, OnSectionResize: TSectionNotifyEvent
class THeaderControl : TCustomHeaderControl registered
class TStatusPanel : TCollectionItem
  Alignment: TAlignment; Bevel: TPanelBevel; Style: TStatusPanelStyle; Text: TCaption
  Width: Integer
class TStatusPanels : TCollection items TStatusPanel
class TCustomStatusBar : TWinControl|TWidgetControl
  AutoHint, SimplePanel, SizeGrip: Boolean; Panels: TStatusPanels; SimpleText: TCaption
  OnDrawPanel: TDrawPanelEvent; OnHint: TNotifyEvent
class TStatusBar : TCustomStatusBar registered
class TToolBar : TWinControl|TWidgetControl registered
  AutoSize, Flat, ShowCaptions, Wrapable: Boolean; ButtonHeight, ButtonWidth, Indent: Integer
  Images, DisabledImages, HotImages: TCustomImageList
class TToolButton : TGraphicControl registered
  AllowAllUp, Down, Grouped, Marked, Wrap: Boolean; DropdownMenu: TPopupMenu
  ImageIndex: TImageIndex; MenuItem: TMenuItem; Style: TToolButtonStyle; Action: TBasicAction
class TAnimate : TWinControl|TWidgetControl registered
  Active, Center, Transparent: Boolean; FileName: TFileName; Repetitions, StartFrame, StopFrame: Integer
  OnOpen, OnClose, OnStart, OnStop: TNotifyEvent

group native
class TOpenPictureDialog : TOpenDialog registered
class TSavePictureDialog : TOpenPictureDialog registered
class TPrintDialog : TCommonDialog registered
  Collate, PrintToFile: Boolean; Copies, FromPage, ToPage, MinPage, MaxPage: Integer
  PrintRange: TPrintRange
class TPrinterSetupDialog : TCommonDialog registered
class TPageSetupDialog : TCommonDialog registered
  MarginBottom, MarginLeft, MarginRight, MarginTop, PageHeight, PageWidth: Integer
class TTimer : TComponent registered
  Enabled: Boolean; Interval: Cardinal; OnTimer: TNotifyEvent
class TMediaPlayer : TWinControl registered
  AutoOpen, AutoRewind, Shareable: Boolean; ColoredButtons, EnabledButtons, VisibleButtons: TButtonSet
  DeviceType: Integer; FileName: string; OnNotify: TNotifyEvent
class TCustomStaticText : TWinControl
  Alignment: TAlignment; AutoSize, ShowAccelChar, Transparent: Boolean; FocusControl: TWinControl
class TStaticText : TCustomStaticText registered
class TApplicationEvents : TComponent registered
  OnActivate, OnDeactivate, OnIdle, OnMinimize, OnRestore: TNotifyEvent
  OnException: TExceptionEvent; OnHint: TNotifyEvent; OnMessage: TMessageEvent
class TItemProp : TPersistent
  EditMask: string; KeyDesc: string; PickList: TStrings; ReadOnly: Boolean
class TValueListEditor : TStringGrid registered
  KeyOptions: Integer; Strings: TStrings; TitleCaptions: TStrings
class TBoundLabel : TCustomLabel
class TLabeledEdit : TCustomEdit registered
  EditLabel: TBoundLabel; LabelSpacing: Integer
class TColorBox : TCustomComboBox registered
  DefaultColorColor, NoneColorColor, Selected: TColor
class TTextAttributes : TPersistent
class TCustomRichEdit : TCustomMemo
  HideScrollBars, PlainText: Boolean; OnSelectionChange: TNotifyEvent
class TRichEdit : TCustomRichEdit registered
class TUpDown : TWinControl registered
  AlignButton: TUDAlignButton; ArrowKeys, Thousands, Wrap: Boolean; Associate: TWinControl
  Increment, Max, Min, Position: Integer; Orientation: TUDOrientation; OnClick: TUDClickEvent
class THotKey : TWinControl registered
  AutoSize: Boolean; HotKey: TShortCut
class TDateTimePicker : TWinControl registered
  CalColors: TPersistent; Checked, ShowCheckbox: Boolean; Date: TDate; Time: TTime
  DateFormat: TDTDateFormat; Format: string; Kind: TDateTimeKind; MaxDate, MinDate: TDate
  OnChange: TNotifyEvent
class TMonthCalendar : TWinControl registered
  Date: TDate; FirstDayOfWeek: TCalDayOfWeek; MultiSelect, ShowToday, WeekNumbers: Boolean
  OnClick: TNotifyEvent
class TPageScroller : TWinControl registered
  AutoScroll: Boolean; ButtonSize, Margin, Position: Integer; Control: TWinControl
class TCoolBand : TCollectionItem
  Bitmap: TBitmap; Break, FixedSize, Visible: Boolean; Control: TWinControl; ImageIndex: TImageIndex
  MinHeight, MinWidth, Width: Integer; Text: TCaption
class TCoolBands : TCollection items TCoolBand
class TCoolBar : TWinControl registered
  AutoSize, FixedOrder, FixedSize, ShowText: Boolean; Bands: TCoolBands; Bitmap: TBitmap
  Images: TCustomImageList
class TComboExItem : TCollectionItem
  Caption: TCaption; ImageIndex: TImageIndex; Indent: Integer; SelectedImageIndex: TImageIndex
class TComboExItems : TCollection items TComboExItem
class TComboBoxEx : TCustomComboBox registered
  Images: TCustomImageList; ItemsEx: TComboExItems
class TCustomDockForm : TCustomForm registered
class TToolDockForm : TCustomDockForm registered
class TOleContainer : TWinControl registered
  AllowInPlace, AutoActivate, AutoVerbMenu: Boolean; Iconic: Boolean; OldStreamFormat: Boolean
  OnActivate, OnDeactivate: TNotifyEvent
class TDdeClientConv : TComponent registered
  ConnectMode: TDataMode; DdeService, DdeTopic, ServiceApplication: string
  OnClose, OnOpen: TNotifyEvent
class TDdeClientItem : TComponent registered
  DdeConv: TDdeClientConv; DdeItem: string; Lines: TStrings; OnChange: TNotifyEvent
class TDdeServerConv : TComponent registered
  OnClose, OnOpen: TNotifyEvent
class TDdeServerItem : TComponent registered
  Lines: TStrings; ServerConv: TDdeServerConv; Text: string; OnChange, OnPokeData: TNotifyEvent
class TTabSet : TWinControl registered
  BackgroundColor, SelectedColor, UnselectedColor: TColor; DitherBackground: Boolean
  StartMargin, EndMargin, TabIndex, TabHeight: Integer; Tabs: TStrings; OnChange: TNotifyEvent
class TOutline : TCustomGrid registered
  ItemHeight: Integer; Lines: TStrings; OutlineStyle: TOutlineStyle
  PictureClosed, PictureLeaf, PictureMinus, PictureOpen, PicturePlus: TBitmap
  OnExpand, OnCollapse: TNotifyEvent
class TTabbedNotebook : TWinControl registered
  ActivePage: string; PageIndex, TabsPerRow: Integer; Pages: TStrings; TabFont: TFont
  OnChange: TNotifyEvent
class TNotebook : TWinControl registered
  ActivePage: string; PageIndex: Integer; Pages: TStrings; OnPageChanged: TNotifyEvent
class THeader : TWinControl registered
  AllowResize: Boolean; BorderStyle: TFormBorderStyle; Sections: TStrings
  OnSized, OnSizing: TNotifyEvent
class TFileListBox : TCustomListBox registered
  FileEdit: TEdit; FileType: Integer; Directory, FileName, Mask: string; ShowGlyphs: Boolean
  OnChange: TNotifyEvent
class TDirectoryListBox : TCustomListBox registered
  Directory: string; DirLabel: TLabel; FileList: TFileListBox; OnChange: TNotifyEvent
class TDriveComboBox : TCustomComboBox registered
  DirList: TDirectoryListBox; TextCase: TEditCharCase; OnChange: TNotifyEvent
class TDBEdit : TCustomMaskEdit
  DataField: string; DataSource: TDataSource

group qt
class TLCDNumber : TGraphicControl registered
  BorderStyle: TFormBorderStyle; Digits: Integer; Value: TCaption
class TTextViewer : TWidgetControl registered
  FileName: TFileName; Text: TCaption; TextColor: TColor; OnHighlightText: TNotifyEvent
class TTextBrowser : TTextViewer registered
  OnTextChanged: TNotifyEvent
class TSpinEdit : TWidgetControl registered
  Increment, Max, Min, Value: Integer; Prefix, Suffix, SpecialText: TCaption; Wrap: Boolean
  OnChanged: TNotifyEvent
class TIconViewItem : TCollectionItem
  Caption: TCaption; ImageIndex: TImageIndex
class TIconViewItems : TCollection items TIconViewItem
class TIconView : TWidgetControl registered
  Images: TCustomImageList; Items: TIconViewItems; MultiSelect, ReadOnly, Sort: Boolean
  OnChange: TNotifyEvent
class TDirectoryTreeView : TCustomTreeView registered
  Directory: string; FileList: TComponent
class TFileListView : TCustomListView registered
  Directory, Mask: string; FileEdit: TFileEdit
class TFileIconView : TIconView registered
  Directory, Mask: string
class TFileEdit : TCustomEdit registered
  FileList: TComponent
class TFileHistoryComboBox : TCustomComboBox registered
  Directory: string; FileList: TComponent; HistorySize: Integer
class TGridScrollBar : TScrollBar registered
  ColCount, RowCount: Integer
)";
}

}  // namespace vaq::classes
