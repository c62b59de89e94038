unit MainForm;

interface

uses Forms, StdCtrls, ComCtrls, ExtCtrls, Menus, AddressFrame;

type
  TMainForm = class(TForm)
    btnOK: TButton;
    lstItems: TListBox;
    lvOrders: TListView;
    imgLogo: TImage;
    AddressFrame1: TAddressFrame;
    mnuMain: TMainMenu;
  end;

var
  MainForm: TMainForm;

implementation

{$R *.rux}

end.
