[playlist]
File1=01 - Salt.mp3
Title1=Salt
Length1=215
File2=sub/02.ogg
Length2=-1
NumberOfEntries=2
Version=2
