unit BaseDialog;

interface

uses Forms, StdCtrls;

type
  TBaseDialog = class(TForm)
    btnOK: TButton;
    btnCancel: TButton;
  end;

implementation

{$R *.rux}

end.
