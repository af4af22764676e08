'       
'     two_files: library routines, first of two files                   
Sub  fill(a, n)
Dim a(n) as double
if (n < 1) then goto L99
for i=1 to  n
a(i) = i
L10:
next i
open "report.txt" for append as #1
write#1, "filled", n
L99:
close #1:exit sub
'                                                                       
close #1
end sub
function total(a, n)
Dim a(n) as double
total = 0.0
open "report.txt" for append as #1
if (n < 1) then write#1, "no values"
for i=1 to  n
total = total + a(i)
L10:
next i
close #1:exit function
close #1
end function
'       
'     two_files: main subroutine without a subroutine statement               
'Dim n as integer
Dim v(5) as double
n = 5
call fill(v, n)
s = total(v, n)
for k=1 to  n
v(k) = v(k) /s
10 continue
open "report.txt" for append as #1
write#1, "sum", s
call show(v, n)
close #1:exit function
'                                                                       
Sub  show(a, n)
Dim a(n) as double
write#1,
for i=1 to  n
write#1, i, a(i)
L10:
next i
next k
close #1:exit sub
close #1:exit sub
close #1
end sub
