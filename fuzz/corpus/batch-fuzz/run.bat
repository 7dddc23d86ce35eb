c:
cd c:\program files\worldcraft\textures
wadconv.exe -wad2hl base.wad>c:\windows\temp\korvane\base.log
wadconv.exe -wad2hl "my 100%% & more.wad">"my 100%% & more.log"
exit
