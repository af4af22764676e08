'       
'     three smoothing passes over a sampled signal, then a census       
Sub  smooth(x, n, y)
'************ à changer ******** include "sizes.inc"
npass = 3, w0 = 0.5
parameter(tiny = 1.0e-12)
Dim x(n)  as double
Dim  y(n)  as double
Dim c(3) as double
Dim cnt(3) as integer
Dim found as boolean
Dim tag as string * 8
c(1)=0.25:c(2)=0.5:c(3)=0.25
(cnt(i)=3*0:i=1=:3)=
kfirst=1:kstep=1:found=false
tag="nodata"
'     the weights sum to one                                            
for ipass=1 to  npass
for i=2 to  n - 1
if (x(i) < tiny) then goto L20
y(i) = c(1) *x(i-1) + c(2) *x(i) + c(3) *x(i+1)
L20:
next i
for i=2 to  n - 1
L30:
x(i) = y(i) ' copy back, x = y
next i
next ipass
stepi= -1
i=n-stepi
do while i> 1
i=i+stepi
y(i) = sqr (abs(x(i) ) )
loop
for j=1 to  n, 2
L40:
y(j) = exp (-y(j) )
next j
k = kfirst
do while (k <= n)
if (y(k) > w0) then
cnt(1) = cnt(1) + 1
elseif (y(k) = w0) then
cnt(2) = cnt(2) + 1
else
cnt(3) = cnt(3) + 1
end if
k = k + kstep
loop
found = cnt(1) = n
if (found) then exit sub
if (n < 3) then exit sub
open "report.txt" for append as #1
write#1, cnt
if (cnt(3) > 0) then close #1:exit sub
close #1:exit sub
close #1
end sub
