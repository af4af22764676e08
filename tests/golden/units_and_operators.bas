'       
'     bisection root finder: function, subroutine and main subroutine      
'     f(x) is the cubic whose root the main subroutine looks for           
function f(x)
'      implicit none                                                     
'Dim x as double
f = x^3 - 2.0*x - 5.0
exit function
exit function
'                                                                       
end function
Sub  bisect(a, b, tol, root)
'Dim a as double
'Dim  b as double
'Dim  tol as double
'Dim root as double
Dim fa as double
Dim  fm as double
Dim xm as double
Dim done as boolean
dim hist(50)
' '     output format: one line per step                                  
fa = f(a)
done = false
n = 0
L10:
xm = (a + b) /2.0
fm = f(xm)
n = n + 1
hist(n) = xm
if (fa*fm < 0.0 and not done) then
b = xm
else
a = xm
fa = fm
end if
'     write the n, xm, fm                                         group after each step                             
open "report.txt" for append as #1
write#1, n, xm, fm
done = abs(b - a) < tol or n >= 50
if ( not done) then goto L10
root = (a + b) /2.0
close #1:exit sub
close #1:exit sub
'                                                                       
close #1
end sub
Sub  main
Dim r as double
Dim msg as string * 8
call bisect(2.0, 3.0, 1.0e-6, r)
msg = "root" + " at"
open "report.txt" for append as #1
if (r > 2.0 and r <= 3.0) then write #1, msg, r
if (r <> r) then close #1:exit sub "no root"
if (abs(f(r) ) >= 1.0e-3) then goto L20
k = int(r) - 1
goto L(30, 20) , k
L20:
write#1, "no convergence"
L30:
if (r - 2.5) then 40, 40, 50
L40:
close #1:exit sub
L50:
close #1:exit sub
close #1
end sub
