[playlist]
File1=/m/a.mp3
Title1=A
Length1=61
File2=http://s/x
NumberOfEntries=2
Version=2
