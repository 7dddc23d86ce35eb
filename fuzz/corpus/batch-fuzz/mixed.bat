@echo off
rem a remark
:label
D:
chdir "c:\a b"
KORVANE-CMD.EXE /c "x y" z>
  Tool.exe a	"b c" ""  > "out file.log"
WadConv.EXE
