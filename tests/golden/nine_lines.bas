'       
Sub  main
Dim i as integer
Dim n as integer
Dim x as double
n = 10
for i=1 to  n
x = x + sqr (2.0)
L10:
next i
open "report.txt" for append as #1
write#1, x
close #1:exit sub
close #1
end sub
