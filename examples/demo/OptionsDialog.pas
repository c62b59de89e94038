unit OptionsDialog;

interface

uses Forms, StdCtrls, ExtCtrls, BaseDialog;

type
  { TOptionsDialog = class(TForm) in a comment does not count }
  TOptionsDialog = class(TBaseDialog)
    chkAutoSave: TCheckBox;
    rgUnits: TRadioGroup;
  end;

implementation

{$R *.rux}

end.
