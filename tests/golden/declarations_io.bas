'       
'     table of scaled values under a title                              
Sub  table(title, vals, nv, scale)
'Dim title as string * 20
Dim  line as string * 20
Dim rule as string * 20
Dim d1 as string * 10
Dim d2 as string * 10
Dim head as string * 10
Dim unit
Dim vals(nv)  as double
Dim total as double
Dim mean as double
'Dim scale as double
'Dim nv as integer
Dim  i as integer
Dim j as integer
Dim ok as boolean
Dim w(0:10)  as double
Dim mid$(v,0,10--1) as double
common /io/ nout
w(0) = scale
total = 0.0d0
ok = nv > 0
open "report.txt" for append as #1
if ( not ok) then write#1, "no values"
head = mid$(title,2,5-1)
n = 8
line = mid$(title,1,n)
i = 3
j = len(mid$(title,i,n-i+1) )
unit = mid$(rule,i,j-i+1)
m = len(mid$(line,2,n-1-1) )
mean = total/nv
write#1, head, nv
'   100 format(1x, a10, i5)                                               
write#1, "mean ", mean, " total ", total
write #1, "first: ", mid$(line,1,4)
write #1,print *
write #1, m
'   110 format(' width', i3)                                              
close #1:exit sub
'                                                                       
close #1
end sub
Sub  note(msg,                                                              lead)
'Dim msg as string * 0
'Dim lead as integer
open "report.txt" for append as #1
write #1, mid$(msg,lead,-lead+1)
write#1, "note'"
close #1:exit sub
'                                                                       
close #1
end sub
function ratio(p, q)
'Dim p as double
'Dim q as double
ratio = p/q
exit function
end function
