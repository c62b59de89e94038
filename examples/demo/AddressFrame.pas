unit AddressFrame;

interface

uses Forms, StdCtrls;

type
  // The address block of orders and customers.
  TAddressFrame = class(TFrame)
    lblStreet: TLabel;
    lblCity: TLabel;
    edtStreet: TEdit;
    cbCountry: TComboBox;
  end;

implementation

{$R *.rux}

end.
