' The runtime of a finished module: FORTRAN's formatted and list-directed input and output,
' and the intrinsics whose VBA built-in means something else. ftvb writes only the pieces a
' module uses, in this order: the shared state first, then each helper once.
'
' How this file is cut into pieces: a shared state section runs from "' state: NAME" to
' "' end state"; every other piece is one Function or Sub with the comments right above it,
' and a line "' needs: A B" there names the helpers and state it calls. Keep every name
' starting with Ft, every variable typed, and nothing that only LibreOffice accepts.

' state: FtIo
' Relative file names are taken in this folder when it is not empty.
Public FtFolder As String
' One WRITE or PRINT statement's items, gathered until FtWriteEnd.
Private FtOutUnit As Long
Private FtOutItems() As Variant
Private FtOutCount As Long
' A unit opened by OPEN: the FORTRAN unit, the file, its status, the VBA file number (0 while
' the file is not open yet), how it is open ("I" input, "O" output, "T" the text of a
' CHARACTER variable being read), the record being read with how far it is read, how many
' records lie before the position (kept when the file is opened again: BACKSPACE, a change of
' direction), an internal file's text, the file's name as OPEN gave it, and whether blanks in
' its number fields are zeros (BLANK='ZERO').
Private Type FtUnitInfo
    id As Long
    path As String
    status As String
    handle As Integer
    mode As String
    record As String
    pos As Long
    records As Long
    text As String
    given As String
    zeros As Boolean
End Type
Private FtUnits() As FtUnitInfo
Private FtUnitCount As Long
' A READ statement in progress.
Private FtInUnit As Long
Private FtInFresh As Boolean
Private FtInEnded As Boolean
Private FtInRepeat As Long
Private FtInRepeatValue As Variant
' A formatted READ: its format (compiled into FtOps), the next descriptor, its groups.
Private FtInFormat As String
Private FtInPc As Long
Private FtInDepth As Long
Private FtInStackOp(1 To 64) As Long
Private FtInStackLeft(1 To 64) As Long
' BZ in a READ's format: blanks in a number field are zeros (BN, the default: ignored).
Private FtInZeros As Boolean
' The length of the CHARACTER variable an item is read into (FtReadText), 0 for the others.
Private FtInLength As Long
' The unit number of a CHARACTER variable being read.
Private Const FtTextUnit As Long = -2
' The status of the statement that asks for it (IOSTAT=, END=, ERR=) as gfortran gives it:
' 0, -1 at the end of a file, 5010 for a value that cannot be read, 2 for a file not found.
' While such a statement runs, FtCatchEnd and FtCatchError say what it catches; the rest stops
' the program, as gfortran does.
Public FtIoStat As Long
Private FtCatchEnd As Boolean
Private FtCatchError As Boolean
' A FORMAT compiled into a list of edit descriptors: kind, width (for a parenthesis its
' repeat count), digits, exponent digits, text, and for a parenthesis its partner's index.
Private Type FtEditOp
    kind As String
    w As Long
    d As Long
    e As Long
    text As String
    partner As Long
End Type
Private FtOps() As FtEditOp
Private FtOpCount As Long
Private FtOpCompiled As String
' The record being built by a formatted WRITE, and where the next field goes (0-based).
Private FtRec As String
Private FtRecPos As Long
Private FtLines() As String
Private FtLineCount As Long
Private FtOpRestart As Long
Private FtScale As Long
Private FtPlus As Boolean
Private FtToText As Boolean
' end state

' Exact decimal digits of a Double: x = 0.digits * 10 ^ pointPos, no leading or trailing zeros
' ("" for zero). The binary value is written out as an integer times a power of two, and that
' power is multiplied in by big-number arithmetic (seven decimal digits a limb), so that every
' digit gfortran would print is the exact value's.
' needs: FtPow2
Private Sub FtExactDigits(ByVal x As Double, ByRef digits As String, ByRef pointPos As Long)
    Dim m As Double, e2 As Long, limbs() As Long, n As Long, i As Long
    Dim t As Double, carry As Double, mult As Double, chunk As Long, k As Long, q As Double
    Dim s As String, two53 As Double
    x = Abs(x)
    digits = ""
    pointPos = 0
    If x = 0 Then Exit Sub
    ' literals of more than 15 digits are not kept exactly by the VBA editor
    two53 = 4294967296# * 2097152#
    m = x
    e2 = 0
    Do While m >= two53 * 4294967296#
        m = m / 4294967296#
        e2 = e2 + 32
    Loop
    Do While m >= two53
        m = m / 2
        e2 = e2 + 1
    Loop
    Do While m < 2097152# And Fix(m) <> m
        m = m * 4294967296#
        e2 = e2 - 32
    Loop
    Do While Fix(m) <> m
        m = m * 2
        e2 = e2 - 1
    Loop
    If e2 >= 0 Then
        ReDim limbs(0 To 4 + (e2 * 0.302 + 17) / 7)
    Else
        ReDim limbs(0 To 4 + (-e2 * 0.7 + 17) / 7)
    End If
    n = 0
    Do While m > 0
        q = Int(m / 10000000#)
        t = m - q * 10000000#
        If t < 0 Then
            q = q - 1
            t = t + 10000000#
        ElseIf t >= 10000000# Then
            q = q + 1
            t = t - 10000000#
        End If
        limbs(n) = CLng(t)
        n = n + 1
        m = q
    Loop
    k = Abs(e2)
    Do While k > 0
        If e2 > 0 Then
            chunk = 26
            If k < chunk Then chunk = k
            mult = FtPow2(chunk)
        Else
            chunk = 11
            If k < chunk Then chunk = k
            mult = 1
            For i = 1 To chunk
                mult = mult * 5
            Next i
        End If
        k = k - chunk
        carry = 0
        For i = 0 To n - 1
            t = limbs(i) * mult + carry
            carry = Int(t / 10000000#)
            t = t - carry * 10000000#
            If t < 0 Then
                carry = carry - 1
                t = t + 10000000#
            ElseIf t >= 10000000# Then
                carry = carry + 1
                t = t - 10000000#
            End If
            limbs(i) = CLng(t)
        Next i
        Do While carry > 0
            q = Int(carry / 10000000#)
            t = carry - q * 10000000#
            limbs(n) = CLng(t)
            n = n + 1
            carry = q
        Loop
    Loop
    s = CStr(limbs(n - 1))
    For i = n - 2 To 0 Step -1
        s = s & Right$("000000" & CStr(limbs(i)), 7)
    Next i
    If e2 < 0 Then pointPos = Len(s) + e2 Else pointPos = Len(s)
    i = Len(s)
    Do While i > 1 And Mid$(s, i, 1) = "0"
        i = i - 1
    Loop
    digits = Left$(s, i)
End Sub

' 2 ^ n for 0 <= n <= 1023, exactly.
Private Function FtPow2(ByVal n As Long) As Double
    Dim r As Double, i As Long
    r = 1
    For i = 1 To n
        r = r * 2
    Next i
    FtPow2 = r
End Function

' Rounds exact digits (see FtExactDigits) to keep digits, to nearest with ties to even as
' gfortran does, and pads with zeros to exactly keep digits. keep <= 0 keeps nothing: the
' result is "" (zero) unless the value rounds up to one unit of the first place dropped.
' needs: FtExactDigits
Private Sub FtRoundDigits(ByRef digits As String, ByRef pointPos As Long, ByVal keep As Long)
    Dim s As String, up As Boolean, i As Long, c As Long, nextDigit As String
    s = "0" & digits
    keep = keep + 1
    If keep < 1 Then
        digits = ""
        Exit Sub
    End If
    If Len(s) > keep Then
        nextDigit = Mid$(s, keep + 1, 1)
        If nextDigit > "5" Then
            up = True
        ElseIf nextDigit = "5" Then
            If Len(s) > keep + 1 Then
                up = True
            Else
                up = (InStr("13579", Mid$(s, keep, 1)) > 0)
            End If
        End If
        s = Left$(s, keep)
        If up Then
            i = keep
            Do
                c = Asc(Mid$(s, i, 1)) - 48
                If c = 9 Then
                    s = Left$(s, i - 1) & "0" & Mid$(s, i + 1)
                    i = i - 1
                Else
                    s = Left$(s, i - 1) & Chr$(49 + c) & Mid$(s, i + 1)
                    Exit Do
                End If
            Loop
        End If
    Else
        s = s & String$(keep - Len(s), "0")
    End If
    If Left$(s, 1) = "0" Then
        s = Mid$(s, 2)
    Else
        ' carried into the new first place: one digit more before the point
        pointPos = pointPos + 1
        If Len(s) > 1 Then s = Left$(s, Len(s) - 1)
    End If
    If Len(s) > 0 And s = String$(Len(s), "0") Then s = ""
    digits = s
End Sub

' The sign a number field starts with.
' needs: FtIo
Private Function FtSignText(ByVal negative As Boolean) As String
    If negative Then
        FtSignText = "-"
    ElseIf FtPlus Then
        FtSignText = "+"
    Else
        FtSignText = ""
    End If
End Function

' A field of width w (w = 0: as wide as needed), or w stars when the text does not fit.
Private Function FtFit(ByVal s As String, ByVal w As Long) As String
    If w <= 0 Then
        FtFit = s
    ElseIf Len(s) > w Then
        FtFit = String$(w, "*")
    Else
        FtFit = Space$(w - Len(s)) & s
    End If
End Function

' Iw.m: m = -1 when not given.
' needs: FtSignText FtFit
Private Function FtFormatI(ByVal v As Variant, ByVal w As Long, ByVal m As Long) As String
    Dim s As String, negative As Boolean
    If VarType(v) = vbDouble Or VarType(v) = vbSingle Then v = Fix(v)
    s = CStr(v)
    negative = (Left$(s, 1) = "-")
    If negative Then s = Mid$(s, 2)
    If m >= 0 And Len(s) < m Then s = String$(m - Len(s), "0") & s
    If m = 0 And s = "0" Then s = ""
    FtFormatI = FtFit(FtSignText(negative) & s, w)
End Function

' Fw.d, the value scaled by 10 ^ FtScale as a kP before it asks.
' needs: FtExactDigits FtRoundDigits FtSignText FtFit FtIo
Private Function FtFormatF(ByVal x As Double, ByVal w As Long, ByVal d As Long) As String
    Dim digits As String, pointPos As Long, whole As String, frac As String, s As String
    Dim sign As String
    FtExactDigits x, digits, pointPos
    If digits <> "" Then pointPos = pointPos + FtScale
    FtRoundDigits digits, pointPos, pointPos + d
    If digits <> "" And Len(digits) < pointPos Then digits = digits & String$(pointPos - Len(digits), "0")
    If digits = "" Then
        whole = ""
        frac = String$(d, "0")
    ElseIf pointPos <= 0 Then
        whole = ""
        frac = String$(-pointPos, "0") & digits
    Else
        whole = Left$(digits, pointPos)
        frac = Mid$(digits, pointPos + 1)
    End If
    frac = Left$(frac & String$(d, "0"), d)
    sign = FtSignText(x < 0)
    ' the zero before the point is left out when there is no room, and by F0.d, but only
    ' when digits follow the point: a field is never a bare "."
    s = sign & "0." & frac
    If whole <> "" Then
        s = sign & whole & "." & frac
    ElseIf d > 0 And (w = 0 Or (w > 0 And Len(s) > w)) Then
        s = sign & "." & frac
    End If
    FtFormatF = FtFit(s, w)
End Function

' Ew.dEe and Dw.dEe (letter "E" or "D"; e = 0 when not given), with FtScale as kP.
' needs: FtExactDigits FtRoundDigits FtSignText FtFit FtIo
Private Function FtFormatE(ByVal x As Double, ByVal w As Long, ByVal d As Long, ByVal e As Long, _
                           ByVal letter As String) As String
    Dim digits As String, pointPos As Long, sig As Long, mantissa As String, expo As Long
    Dim expText As String, s As String, sign As String, lead As String
    If FtScale > 0 Then sig = d + 1 Else sig = d + FtScale
    If sig <= 0 Or (FtScale > 0 And FtScale >= d + 2) Then
        FtFormatE = String$(w, "*")
        Exit Function
    End If
    FtExactDigits x, digits, pointPos
    If digits <> "" Then FtRoundDigits digits, pointPos, sig
    If digits = "" Then
        digits = String$(sig, "0")
        expo = 0
    Else
        expo = pointPos - FtScale
    End If
    If FtScale > 0 Then
        mantissa = Left$(digits, FtScale) & "." & Mid$(digits, FtScale + 1)
    Else
        mantissa = "." & String$(-FtScale, "0") & digits
        lead = "0"
    End If
    If e > 0 Then
        If Len(CStr(Abs(expo))) > e Then
            FtFormatE = String$(w, "*")
            Exit Function
        End If
        expText = letter & IIf(expo < 0, "-", "+") & Right$(String$(e, "0") & CStr(Abs(expo)), e)
    ElseIf Abs(expo) <= 99 Then
        expText = letter & IIf(expo < 0, "-", "+") & Right$("0" & CStr(Abs(expo)), 2)
    ElseIf Abs(expo) <= 999 Then
        expText = IIf(expo < 0, "-", "+") & CStr(Abs(expo))
    Else
        FtFormatE = String$(w, "*")
        Exit Function
    End If
    sign = FtSignText(x < 0)
    s = sign & lead & mantissa & expText
    If lead <> "" And w > 0 And Len(s) > w Then s = sign & mantissa & expText
    FtFormatE = FtFit(s, w)
End Function

' Gw.dEe: F editing when 0.1 <= |x| < 10 ^ d after rounding to d digits, then blanks where the
' exponent would be; E editing otherwise.
' needs: FtExactDigits FtRoundDigits FtFormatF FtFormatE FtIo
Private Function FtFormatG(ByVal x As Double, ByVal w As Long, ByVal d As Long, ByVal e As Long) As String
    Dim digits As String, pointPos As Long, blanks As Long, saved As Long, s As String
    If e > 0 Then blanks = e + 2 Else blanks = 4
    FtExactDigits x, digits, pointPos
    If digits <> "" Then FtRoundDigits digits, pointPos, d
    saved = FtScale
    If digits = "" Or (pointPos >= 0 And pointPos <= d) Then
        ' F editing; a field with no room for it is all stars, the blanks included
        FtScale = 0
        If w - blanks <= 0 Then
            s = "*"
        ElseIf digits = "" Then
            s = FtFormatF(x, w - blanks, d - 1)
        Else
            s = FtFormatF(x, w - blanks, d - pointPos)
        End If
        If InStr(s, "*") > 0 Then FtFormatG = String$(w, "*") Else FtFormatG = s & Space$(blanks)
    Else
        FtFormatG = FtFormatE(x, w, d, e, "E")
    End If
    FtScale = saved
End Function

' A REAL in list-directed output: gfortran's 9 (REAL) or 17 (DOUBLE PRECISION) digits, as
' 1PG16.9E2 or 1PG25.17E3 would write them.
' needs: FtExactDigits FtRoundDigits
Private Function FtListReal(ByVal x As Double, ByVal isSingle As Boolean) As String
    Dim sig As Long, fieldF As Long, blanks As Long, fieldE As Long, expDigits As Long
    Dim digits As String, pointPos As Long, s As String, sign As String, expo As Long
    If isSingle Then
        sig = 9: fieldF = 12: blanks = 4: fieldE = 16: expDigits = 2
    Else
        sig = 17: fieldF = 20: blanks = 5: fieldE = 25: expDigits = 3
    End If
    If x < 0 Then sign = "-"
    FtExactDigits x, digits, pointPos
    If digits = "" Then
        s = sign & "0." & String$(sig - 1, "0")
        FtListReal = Space$(fieldF - Len(s)) & s & Space$(blanks)
        Exit Function
    End If
    FtRoundDigits digits, pointPos, sig
    If pointPos >= 0 And pointPos <= sig Then
        If pointPos = 0 Then
            s = sign & "0." & digits
        Else
            s = sign & Left$(digits, pointPos) & "." & Mid$(digits, pointPos + 1)
        End If
        FtListReal = Space$(fieldF - Len(s)) & s & Space$(blanks)
    Else
        expo = pointPos - 1
        s = sign & Left$(digits, 1) & "." & Mid$(digits, 2) & "E" & IIf(expo < 0, "-", "+") & _
            Right$(String$(expDigits, "0") & CStr(Abs(expo)), expDigits)
        FtListReal = Space$(fieldE - Len(s)) & s
    End If
End Function

' The file name of a unit's file, in FtFolder when relative.
' needs: FtIo
Private Function FtPath(ByVal fileName As String) As String
    Dim sep As String
    fileName = Trim$(fileName)
    If FtFolder = "" Or Left$(fileName, 1) = "/" Or Left$(fileName, 1) = "\" Or Mid$(fileName, 2, 1) = ":" Then
        FtPath = fileName
        Exit Function
    End If
    If InStr(FtFolder, "\") > 0 Then sep = "\" Else sep = "/"
    If Right$(FtFolder, 1) = sep Then FtPath = FtFolder & fileName Else FtPath = FtFolder & sep & fileName
End Function

' The index of a unit in the table of opened units, 0 when it is not open.
' needs: FtIo
Private Function FtUnitIndex(ByVal unit As Long) As Long
    Dim i As Long
    For i = 1 To FtUnitCount
        If FtUnits(i).id = unit Then
            FtUnitIndex = i
            Exit Function
        End If
    Next i
    FtUnitIndex = 0
End Function

' The VBA file number of an opened unit, opening its file on first use for reading ("I") or
' writing ("O"). A unit opened again (it changes direction, or BACKSPACE or ENDFILE closed it)
' goes back to where it was: reading passes over the records before the position, writing keeps
' them and drops the rest, as a WRITE in the middle of a sequential file does.
' needs: FtIo FtPath
Private Function FtUnitFile(ByVal index As Long, ByVal mode As String) As Integer
    Dim f As Integer, s As String, n As Long, k As Long, kept() As String, path As String
    If FtUnits(index).handle <> 0 And FtUnits(index).mode <> mode Then
        f = FtUnits(index).handle
        Close #f
        FtUnits(index).handle = 0
    End If
    If FtUnits(index).handle = 0 Then
        path = FtUnits(index).path
        f = FreeFile
        If mode = "I" Then
            Open path For Input As #f
            Do While n < FtUnits(index).records And Not EOF(f)
                Line Input #f, s
                n = n + 1
            Loop
        Else
            If FtUnits(index).records > 0 And Dir$(path) <> "" Then
                ReDim kept(1 To FtUnits(index).records)
                Open path For Input As #f
                Do While n < FtUnits(index).records And Not EOF(f)
                    Line Input #f, s
                    If Right$(s, 1) = vbCr Then s = Left$(s, Len(s) - 1)
                    n = n + 1
                    kept(n) = s
                Loop
                Close #f
                f = FreeFile
            End If
            Open path For Output As #f
            For k = 1 To n
                Print #f, kept(k)
            Next k
        End If
        FtUnits(index).records = n
        FtUnits(index).handle = f
        FtUnits(index).mode = mode
        FtUnits(index).record = ""
        FtUnits(index).pos = 1
    End If
    FtUnitFile = FtUnits(index).handle
End Function

' A statement that fails: FtIoStat when the statement catches it (IOSTAT=, END= for the end
' of a file, ERR= for the rest), else an error that stops the program as gfortran stops it.
' needs: FtIo
Private Sub FtIoFail(ByVal code As Long, ByVal msg As String)
    ' VBA's own numbers: input past end of file, file not found, file already exists, type mismatch
    If (code < 0 And FtCatchEnd) Or (code > 0 And FtCatchError) Then
        If FtIoStat = 0 Then FtIoStat = code
    ElseIf code < 0 Then
        Err.Raise 62, "FtReadItem", msg
    ElseIf code = 2 Then
        Err.Raise 53, "FtOpen", msg
    ElseIf code = 17 Then
        Err.Raise 58, "FtOpen", msg
    Else
        Err.Raise 13, "FtReadItem", msg
    End If
End Sub

' Starts a statement with IOSTAT=, END= or ERR=: ends says whether it catches the end of a file
' (IOSTAT= or END=), errors whether it catches the other failures (IOSTAT= or ERR=).
' needs: FtIo
Public Sub FtIoCatch(ByVal ends As Boolean, ByVal errors As Boolean)
    FtIoStat = 0
    FtCatchEnd = ends
    FtCatchError = errors
End Sub

' Ends such a statement; FtIoStat holds its status until the next one.
' needs: FtIo
Public Sub FtIoEnd()
    FtCatchEnd = False
    FtCatchError = False
End Sub

' A new entry in the table of units.
' needs: FtIo
Private Function FtAddUnit(ByVal unit As Long, ByVal path As String, ByVal status As String) As Long
    If FtUnitCount = 0 Then
        ReDim FtUnits(1 To 8)
    ElseIf FtUnitCount = UBound(FtUnits) Then
        ReDim Preserve FtUnits(1 To 2 * FtUnitCount)
    End If
    FtUnitCount = FtUnitCount + 1
    FtUnits(FtUnitCount).id = unit
    FtUnits(FtUnitCount).path = path
    FtUnits(FtUnitCount).status = status
    FtUnits(FtUnitCount).handle = 0
    FtUnits(FtUnitCount).mode = ""
    FtUnits(FtUnitCount).record = ""
    FtUnits(FtUnitCount).pos = 1
    FtUnits(FtUnitCount).records = 0
    FtUnits(FtUnitCount).text = ""
    FtUnits(FtUnitCount).given = ""
    FtUnits(FtUnitCount).zeros = False
    FtAddUnit = FtUnitCount
End Function

' OPEN: status "old", "new", "unknown", "replace" or "scratch"; the file is opened when the
' unit is first read or written. An old file that is not there, or a new one that is, fails
' (gfortran's IOSTAT: 2 and 17).
' needs: FtIo FtPath FtUnitIndex FtClose FtAddUnit FtIoFail
Public Sub FtOpen(ByVal unit As Long, ByVal fileName As String, ByVal status As String)
    Dim i As Long, path As String
    status = LCase$(Trim$(status))
    If status = "" Then status = "unknown"
    i = FtUnitIndex(unit)
    If i > 0 Then FtClose unit
    If status = "scratch" Or Trim$(fileName) = "" Then
        path = FtPath("ftscratch" & CStr(unit) & ".tmp")
    Else
        path = FtPath(fileName)
    End If
    If status = "old" And Dir$(path) = "" Then
        FtIoFail 2, "Cannot open file '" & path & "': No such file or directory"
        Exit Sub
    End If
    If status = "new" And Dir$(path) <> "" Then
        FtIoFail 17, "Cannot open file '" & path & "': File exists"
        Exit Sub
    End If
    i = FtAddUnit(unit, path, status)
    If status <> "scratch" Then FtUnits(i).given = Trim$(fileName)
End Sub

' OPEN with BLANK=: "zero" makes blanks in the unit's number fields zeros, "null" (the
' default) ignores them.
' needs: FtIo FtUnitIndex
Public Sub FtOpenBlank(ByVal unit As Long, ByVal blank As String)
    Dim i As Long
    i = FtUnitIndex(unit)
    If i > 0 Then FtUnits(i).zeros = (LCase$(Trim$(blank)) = "zero")
End Sub

' CLOSE: a scratch file is deleted.
' needs: FtIo FtUnitIndex
Public Sub FtClose(ByVal unit As Long)
    Dim i As Long, j As Long, f As Integer
    i = FtUnitIndex(unit)
    If i = 0 Then Exit Sub
    f = FtUnits(i).handle
    If f <> 0 Then Close #f
    If FtUnits(i).status = "scratch" Then
        If Dir$(FtUnits(i).path) <> "" Then Kill FtUnits(i).path
    End If
    For j = i To FtUnitCount - 1
        FtUnits(j) = FtUnits(j + 1)
    Next j
    FtUnitCount = FtUnitCount - 1
End Sub

' CLOSE with STATUS=: "delete" deletes the file; "keep" keeps it (not a scratch file).
' needs: FtIo FtUnitIndex FtClose
Public Sub FtCloseStatus(ByVal unit As Long, ByVal status As String)
    Dim i As Long
    i = FtUnitIndex(unit)
    If i = 0 Then Exit Sub
    If LCase$(Trim$(status)) = "delete" Then FtUnits(i).status = "scratch"
    FtClose unit
End Sub

' Closes the file of the unit at index i and puts its position after the records given (none
' before the first); its next READ or WRITE opens it there.
' needs: FtIo
Private Sub FtSetPosition(ByVal i As Long, ByVal records As Long)
    Dim f As Integer
    f = FtUnits(i).handle
    If f <> 0 Then Close #f
    FtUnits(i).handle = 0
    FtUnits(i).mode = ""
    If records < 0 Then records = 0
    FtUnits(i).records = records
End Sub

' REWIND: the next READ or WRITE starts the file again.
' needs: FtIo FtUnitIndex FtSetPosition
Public Sub FtRewind(ByVal unit As Long)
    Dim i As Long
    i = FtUnitIndex(unit)
    If i > 0 Then FtSetPosition i, 0
End Sub

' BACKSPACE: the position goes back before the last record read or written.
' needs: FtIo FtUnitIndex FtSetPosition
Public Sub FtBackspace(ByVal unit As Long)
    Dim i As Long
    i = FtUnitIndex(unit)
    If i > 0 Then FtSetPosition i, FtUnits(i).records - 1
End Sub

' ENDFILE: the file ends at the position; a READ there meets the end of the file.
' needs: FtIo FtUnitIndex FtUnitFile FtSetPosition
Public Sub FtEndfile(ByVal unit As Long)
    Dim i As Long, f As Integer
    i = FtUnitIndex(unit)
    If i = 0 Then Exit Sub
    ' opened for writing where it is, the file keeps only what comes before
    f = FtUnitFile(i, "O")
    FtSetPosition i, FtUnits(i).records
End Sub

' INQUIRE(FILE=name, EXIST=): whether the file is there.
' needs: FtIo FtPath
Public Function FtFileExists(ByVal fileName As String) As Boolean
    If Trim$(fileName) = "" Then
        FtFileExists = False
    Else
        FtFileExists = (Dir$(FtPath(fileName)) <> "")
    End If
End Function

' INQUIRE(FILE=name, NUMBER=): the unit the file is open on, -1 when it is not open.
' needs: FtIo FtPath
Public Function FtFileUnit(ByVal fileName As String) As Long
    Dim i As Long, path As String
    path = FtPath(fileName)
    FtFileUnit = -1
    For i = 1 To FtUnitCount
        If FtUnits(i).path = path And FtUnits(i).mode <> "T" Then
            FtFileUnit = FtUnits(i).id
            Exit Function
        End If
    Next i
End Function

' INQUIRE(UNIT=, NAME=): the name of the unit's file as OPEN gave it, "stdin", "stdout" or
' "stderr" for the units gfortran connects first; "" for a unit with no name.
' needs: FtIo FtUnitIndex
Public Function FtUnitName(ByVal unit As Long) As String
    Dim i As Long
    i = FtUnitIndex(unit)
    If i > 0 Then
        FtUnitName = FtUnits(i).given
    ElseIf unit = 5 Then
        FtUnitName = "stdin"
    ElseIf unit = 6 Then
        FtUnitName = "stdout"
    ElseIf unit = 0 Then
        FtUnitName = "stderr"
    Else
        FtUnitName = ""
    End If
End Function

' INQUIRE(UNIT=, OPENED=): an OPENed unit, or one of those gfortran connects before the
' program starts (0, 5 and 6).
' needs: FtIo FtUnitIndex
Public Function FtUnitOpened(ByVal unit As Long) As Boolean
    FtUnitOpened = (FtUnitIndex(unit) > 0 Or unit = 0 Or unit = 5 Or unit = 6)
End Function

' Starts a WRITE or PRINT statement on a unit (-1: *).
' needs: FtIo
Public Sub FtWriteBegin(ByVal unit As Long)
    FtOutUnit = unit
    FtOutCount = 0
End Sub

' One item of the statement's list, in order; a one-dimensional array gives its elements.
' needs: FtIo
Public Sub FtWriteItem(ByVal value As Variant)
    Dim i As Long
    If IsArray(value) Then
        For i = LBound(value) To UBound(value)
            FtWriteItem value(i)
        Next i
        Exit Sub
    End If
    If FtOutCount = 0 Then
        ReDim FtOutItems(1 To 16)
    ElseIf FtOutCount = UBound(FtOutItems) Then
        ReDim Preserve FtOutItems(1 To 2 * FtOutCount)
    End If
    FtOutCount = FtOutCount + 1
    FtOutItems(FtOutCount) = value
End Sub

' Writes the finished records (FtLines) to the statement's unit: an opened unit's file, else
' report.txt, which is opened and closed again so that it is complete whenever the program
' stops. A WRITE to a CHARACTER variable (FtWriteText) keeps them.
' needs: FtIo FtUnitIndex FtUnitFile FtPath
Private Sub FtEmit()
    Dim f As Integer, i As Long, opened As Boolean
    If FtToText Then Exit Sub
    i = FtUnitIndex(FtOutUnit)
    If i > 0 Then
        f = FtUnitFile(i, "O")
        opened = True
    Else
        f = FreeFile
        Open FtPath("report.txt") For Append As #f
    End If
    For i = 1 To FtLineCount
        Print #f, FtLines(i)
    Next i
    If opened Then
        i = FtUnitIndex(FtOutUnit)
        FtUnits(i).records = FtUnits(i).records + FtLineCount
    Else
        Close #f
    End If
    FtLineCount = 0
End Sub

' List-directed output: a blank first, integers 11 wide, reals with gfortran's digits,
' logicals as T or F, strings as they are (no blank between two strings).
' needs: FtIo FtListReal FtEndRecord FtEmit
Private Sub FtWriteList()
    Dim rec As String, i As Long, t As Long, lastWasText As Boolean
    For i = 1 To FtOutCount
        t = VarType(FtOutItems(i))
        If i = 1 Then
            rec = " "
        ElseIf Not (t = vbString And lastWasText) Then
            rec = rec & " "
        End If
        Select Case t
        Case vbString
            rec = rec & FtOutItems(i)
        Case vbBoolean
            rec = rec & IIf(FtOutItems(i), "T", "F")
        Case vbSingle
            rec = rec & FtListReal(CDbl(FtOutItems(i)), True)
        Case vbDouble, vbCurrency, vbDecimal
            rec = rec & FtListReal(CDbl(FtOutItems(i)), False)
        Case Else
            rec = rec & Right$(Space$(11) & CStr(FtOutItems(i)), 11)
        End Select
        lastWasText = (t = vbString)
    Next i
    FtRec = rec
    FtLineCount = 0
    FtEndRecord
    FtEmit
End Sub

' Adds one compiled edit descriptor.
' needs: FtIo
Private Sub FtAddOp(ByVal kind As String, ByVal w As Long, ByVal d As Long, ByVal e As Long, _
                    ByVal text As String)
    If FtOpCount = 0 Then
        ReDim FtOps(1 To 32)
    ElseIf FtOpCount = UBound(FtOps) Then
        ReDim Preserve FtOps(1 To 2 * FtOpCount)
    End If
    FtOpCount = FtOpCount + 1
    FtOps(FtOpCount).kind = kind
    FtOps(FtOpCount).w = w
    FtOps(FtOpCount).d = d
    FtOps(FtOpCount).e = e
    FtOps(FtOpCount).text = text
    FtOps(FtOpCount).partner = 0
End Sub

' Reads a quoted text of s from pos (just after its opening quote) onto the end of text, a
' doubled quote as one: True when the closing quote is found (pos is then past it), False
' when s ends first.
Private Function FtQuoted(ByVal s As String, ByRef pos As Long, ByVal quote As String, _
                          ByRef text As String) As Boolean
    Do While pos <= Len(s)
        If Mid$(s, pos, 1) = quote Then
            If Mid$(s, pos + 1, 1) <> quote Then
                pos = pos + 1
                FtQuoted = True
                Exit Function
            End If
            text = text & quote
            pos = pos + 2
        Else
            text = text & Mid$(s, pos, 1)
            pos = pos + 1
        End If
    Loop
    FtQuoted = False
End Function

' Reads an unsigned number at pos of a format (blanks skipped); -1 when there is none.
Private Function FtFormatNumber(ByVal fmt As String, ByRef pos As Long) As Long
    Dim n As Long, found As Boolean, c As String
    Do While pos <= Len(fmt)
        c = Mid$(fmt, pos, 1)
        If c >= "0" And c <= "9" Then
            n = n * 10 + (Asc(c) - 48)
            found = True
        ElseIf c <> " " Then
            Exit Do
        End If
        pos = pos + 1
    Loop
    If found Then FtFormatNumber = n Else FtFormatNumber = -1
End Function

' The next letter of a format at pos, blanks skipped, in capitals ("" at the end).
Private Function FtFormatPeek(ByVal fmt As String, ByRef pos As Long) As String
    Do While pos <= Len(fmt)
        If Mid$(fmt, pos, 1) <> " " Then
            FtFormatPeek = UCase$(Mid$(fmt, pos, 1))
            Exit Function
        End If
        pos = pos + 1
    Loop
    FtFormatPeek = ""
End Function

' Compiles a FORMAT's text, parentheses included, into FtOps: op 1 is "(" and the last is its
' ")"; a repeated data descriptor is written out as many times as asked.
' needs: FtIo FtAddOp FtFormatNumber FtFormatPeek FtQuoted
Private Sub FtCompileFormat(ByVal fmt As String)
    Dim pos As Long, c As String, n As Long, k As Long, w As Long, d As Long, e As Long
    Dim stack(1 To 64) As Long, depth As Long, quote As String, text As String, negative As Boolean
    If fmt = FtOpCompiled And FtOpCount > 0 Then Exit Sub
    FtOpCount = 0
    FtOpRestart = 2
    pos = 1
    If FtFormatPeek(fmt, pos) = "(" Then pos = pos + 1
    FtAddOp "(", 1, 0, 0, ""
    depth = 1
    stack(1) = 1
    Do While pos <= Len(fmt) And depth > 0
        c = FtFormatPeek(fmt, pos)
        If c = "" Then Exit Do
        negative = False
        If c = "-" Or c = "+" Then
            negative = (c = "-")
            pos = pos + 1
            c = FtFormatPeek(fmt, pos)
        End If
        n = FtFormatNumber(fmt, pos)
        c = FtFormatPeek(fmt, pos)
        If negative And n > 0 Then n = -n
        Select Case c
        Case ","
            pos = pos + 1
        Case "("
            pos = pos + 1
            If n < 1 Then n = 1
            FtAddOp "(", n, 0, 0, ""
            depth = depth + 1
            stack(depth) = FtOpCount
        Case ")"
            pos = pos + 1
            FtAddOp ")", 0, 0, 0, ""
            FtOps(FtOpCount).partner = stack(depth)
            FtOps(stack(depth)).partner = FtOpCount
            ' reversion goes back to the last group closed at the top level
            If depth = 2 Then FtOpRestart = stack(depth)
            depth = depth - 1
        Case "'", """"
            quote = c
            text = ""
            pos = pos + 1
            FtQuoted fmt, pos, quote, text
            If n < 1 Then n = 1
            For k = 1 To n
                FtAddOp "'", 0, 0, 0, text
            Next k
        Case "H"
            FtAddOp "'", 0, 0, 0, Mid$(fmt, pos + 1, n)
            pos = pos + 1 + n
        Case "P"
            pos = pos + 1
            FtAddOp "P", n, 0, 0, ""
        Case "X"
            pos = pos + 1
            If n < 1 Then n = 1
            FtAddOp "TR", n, 0, 0, ""
        Case "/"
            pos = pos + 1
            If n < 1 Then n = 1
            For k = 1 To n
                FtAddOp "/", 0, 0, 0, ""
            Next k
        Case ":"
            pos = pos + 1
            FtAddOp ":", 0, 0, 0, ""
        Case "T"
            pos = pos + 1
            c = FtFormatPeek(fmt, pos)
            If c = "L" Or c = "R" Then pos = pos + 1 Else c = ""
            w = FtFormatNumber(fmt, pos)
            If w < 0 Then w = 1
            FtAddOp "T" & c, w, 0, 0, ""
        Case "S"
            pos = pos + 1
            c = FtFormatPeek(fmt, pos)
            If c = "P" Or c = "S" Then pos = pos + 1
            FtAddOp "S", IIf(c = "P", 1, 0), 0, 0, ""
        Case "B"
            ' BN (the default) and BZ: how a READ takes blanks in numbers
            pos = pos + 1
            c = FtFormatPeek(fmt, pos)
            If c = "N" Or c = "Z" Then pos = pos + 1
            FtAddOp "B", IIf(c = "Z", 1, 0), 0, 0, ""
        Case "I", "F", "E", "D", "G", "A", "L"
            pos = pos + 1
            ' ES (scientific) is E with one digit before the point; EN is taken as ES
            If c = "E" Then
                If FtFormatPeek(fmt, pos) = "S" Or FtFormatPeek(fmt, pos) = "N" Then
                    pos = pos + 1
                    c = "ES"
                End If
            End If
            w = FtFormatNumber(fmt, pos)
            d = -1
            e = 0
            If FtFormatPeek(fmt, pos) = "." Then
                pos = pos + 1
                d = FtFormatNumber(fmt, pos)
            End If
            If (c = "E" Or c = "ES" Or c = "G") And FtFormatPeek(fmt, pos) = "E" Then
                pos = pos + 1
                e = FtFormatNumber(fmt, pos)
            End If
            If n < 1 Then n = 1
            For k = 1 To n
                FtAddOp c, w, d, e, ""
            Next k
        Case Else
            Err.Raise 5, "FtWriteEnd", "Cannot read the format " & fmt & " at " & CStr(pos)
        End Select
    Loop
    Do While depth > 0
        FtAddOp ")", 0, 0, 0, ""
        FtOps(FtOpCount).partner = stack(depth)
        FtOps(stack(depth)).partner = FtOpCount
        depth = depth - 1
    Loop
    FtOpCompiled = fmt
End Sub

' Puts a field into the record at the current position, over what is there.
' needs: FtIo
Private Sub FtPlace(ByVal s As String)
    If FtRecPos > Len(FtRec) Then FtRec = FtRec & Space$(FtRecPos - Len(FtRec))
    FtRec = Left$(FtRec, FtRecPos) & s & Mid$(FtRec, FtRecPos + Len(s) + 1)
    FtRecPos = FtRecPos + Len(s)
End Sub

' Ends the record being built.
' needs: FtIo
Private Sub FtEndRecord()
    If FtLineCount = 0 Then
        ReDim FtLines(1 To 8)
    ElseIf FtLineCount = UBound(FtLines) Then
        ReDim Preserve FtLines(1 To 2 * FtLineCount)
    End If
    FtLineCount = FtLineCount + 1
    FtLines(FtLineCount) = FtRec
    FtRec = ""
    FtRecPos = 0
End Sub

' One data item under one edit descriptor.
' needs: FtIo FtFormatI FtFormatF FtFormatE FtFormatG FtEditAsA
Private Function FtEditItem(ByVal v As Variant, ByVal op As Long) As String
    Dim w As Long, d As Long, t As Long, s As String, saved As Long
    w = FtOps(op).w
    d = FtOps(op).d
    t = VarType(v)
    Select Case FtOps(op).kind
    Case "I"
        FtEditItem = FtFormatI(v, w, d)
    Case "A"
        If t = vbBoolean Then s = IIf(v, "T", "F") Else s = CStr(v)
        FtEditItem = FtEditAsA(s, w)
    Case "L"
        If w < 1 Then w = 2
        If t = vbBoolean Then
            FtEditItem = Space$(w - 1) & IIf(v, "T", "F")
        Else
            FtEditItem = Space$(w - 1) & IIf(v <> 0, "T", "F")
        End If
    Case "F"
        If d < 0 Then d = 0
        FtEditItem = FtFormatF(CDbl(v), w, d)
    Case "E", "D"
        If d < 0 Then d = 0
        FtEditItem = FtFormatE(CDbl(v), w, d, FtOps(op).e, FtOps(op).kind)
    Case "ES"
        If d < 0 Then d = 0
        saved = FtScale
        FtScale = 1
        FtEditItem = FtFormatE(CDbl(v), w, d, FtOps(op).e, "E")
        FtScale = saved
    Case "G"
        If t = vbString Then
            FtEditItem = FtEditAsA(CStr(v), w)
        ElseIf t = vbBoolean Then
            FtEditItem = Space$(w - 1) & IIf(v, "T", "F")
        ElseIf t <> vbSingle And t <> vbDouble And t <> vbCurrency And t <> vbDecimal Then
            FtEditItem = FtFormatI(v, w, -1)
        Else
            If d < 0 Then d = 0
            FtEditItem = FtFormatG(CDbl(v), w, d, FtOps(op).e)
        End If
    End Select
End Function

' A string under Aw.
Private Function FtEditAsA(ByVal s As String, ByVal w As Long) As String
    If w < 0 Then
        FtEditAsA = s
    ElseIf Len(s) >= w Then
        FtEditAsA = Left$(s, w)
    Else
        FtEditAsA = Space$(w - Len(s)) & s
    End If
End Function

' Formatted output: runs the compiled format over the items, with format reversion (back to
' the last group at the top level, or to the start) while items are left.
' needs: FtIo FtCompileFormat FtPlace FtEndRecord FtEditItem FtEmit
Private Sub FtWriteFormatted(ByVal fmt As String)
    Dim pc As Long, item As Long, depth As Long, stackOp(1 To 64) As Long, stackLeft(1 To 64) As Long
    Dim usedSinceRestart As Boolean, kind As String
    FtCompileFormat fmt
    FtRec = ""
    FtRecPos = 0
    FtLineCount = 0
    FtScale = 0
    FtPlus = False
    item = 1
    pc = 2
    depth = 0
    Do
        kind = FtOps(pc).kind
        Select Case kind
        Case "("
            depth = depth + 1
            stackOp(depth) = pc
            stackLeft(depth) = FtOps(pc).w
            pc = pc + 1
        Case ")"
            If pc = FtOpCount Then
                If item > FtOutCount Or Not usedSinceRestart Then Exit Do
                FtEndRecord
                usedSinceRestart = False
                depth = 0
                pc = FtOpRestart
            Else
                stackLeft(depth) = stackLeft(depth) - 1
                If stackLeft(depth) > 0 Then
                    pc = stackOp(depth) + 1
                Else
                    depth = depth - 1
                    pc = pc + 1
                End If
            End If
        Case "I", "F", "E", "ES", "D", "G", "A", "L"
            If item > FtOutCount Then Exit Do
            FtPlace FtEditItem(FtOutItems(item), pc)
            item = item + 1
            usedSinceRestart = True
            pc = pc + 1
        Case ":"
            If item > FtOutCount Then Exit Do
            pc = pc + 1
        Case "/"
            FtEndRecord
            pc = pc + 1
        Case "'"
            FtPlace FtOps(pc).text
            pc = pc + 1
        Case "TR"
            FtRecPos = FtRecPos + FtOps(pc).w
            pc = pc + 1
        Case "TL"
            FtRecPos = FtRecPos - FtOps(pc).w
            If FtRecPos < 0 Then FtRecPos = 0
            pc = pc + 1
        Case "T"
            FtRecPos = FtOps(pc).w - 1
            pc = pc + 1
        Case "P"
            FtScale = FtOps(pc).w
            pc = pc + 1
        Case "S"
            FtPlus = (FtOps(pc).w = 1)
            pc = pc + 1
        Case Else
            pc = pc + 1
        End Select
    Loop
    FtEndRecord
    FtEmit
End Sub

' Ends a WRITE or PRINT statement: fmt is "*" for list-directed output, else the FORMAT's text
' with its parentheses, e.g. "(1X,'x =',F10.4,2I5)".
' needs: FtIo FtWriteList FtWriteFormatted
Public Sub FtWriteEnd(ByVal fmt As String)
    If Trim$(fmt) = "*" Then
        FtWriteList
    Else
        FtWriteFormatted fmt
    End If
    FtOutCount = 0
End Sub

' Ends a WRITE to a CHARACTER variable (an internal file): the statement's records as text,
' separated by vbLf; the writer pads or cuts it to the variable's length (FtPad).
' needs: FtIo FtWriteList FtWriteFormatted
Public Function FtWriteText(ByVal fmt As String) As String
    Dim i As Long, s As String
    FtToText = True
    If Trim$(fmt) = "*" Then
        FtWriteList
    Else
        FtWriteFormatted fmt
    End If
    FtToText = False
    For i = 1 To FtLineCount
        If i > 1 Then s = s & vbLf
        s = s & FtLines(i)
    Next i
    FtLineCount = 0
    FtOutCount = 0
    FtWriteText = s
End Function

' Ends a WRITE to a CHARACTER array (an internal file of several records): its records go into
' the count elements from offset + 1, each padded or cut to length; the elements after the
' last record keep their values. More records than elements is the end of the file.
' needs: FtIo FtWriteText FtIoFail
Public Sub FtWriteRecords(ByRef records() As String, ByVal offset As Long, ByVal count As Long, _
                          ByVal length As Long, ByVal fmt As String)
    Dim parts() As String, k As Long, s As String
    parts = Split(FtWriteText(fmt), vbLf)
    For k = 0 To UBound(parts)
        If k >= count Then
            FtIoFail -1, "End of file"
            Exit Sub
        End If
        s = parts(k)
        If Len(s) >= length Then s = Left$(s, length) Else s = s & Space$(length - Len(s))
        records(offset + k + 1) = s
    Next k
End Sub

' True when a READ on the unit would find no more records: the file is at its end and nothing
' of the last record read is left.
' needs: FtIo FtUnitIndex FtUnitFile FtOpen
Public Function FtEof(ByVal unit As Long) As Boolean
    Dim i As Long, f As Integer
    i = FtUnitIndex(unit)
    If i = 0 Then
        If unit = -1 Or unit = 5 Then
            FtOpen unit, "input.txt", "old"
        Else
            FtOpen unit, "fort." & CStr(unit), "old"
        End If
        i = FtUnitIndex(unit)
    End If
    If FtUnits(i).mode = "T" Then
        FtEof = (FtUnits(i).records > 0)
        Exit Function
    End If
    f = FtUnitFile(i, "I")
    FtEof = EOF(f)
End Function

' Starts a list-directed READ on a unit (-1 and 5: input.txt in FtFolder); its first item is
' taken from the next record.
' needs: FtIo FtUnitIndex FtOpen
Public Sub FtReadBegin(ByVal unit As Long)
    If Not (FtCatchEnd Or FtCatchError) Then FtIoStat = 0
    If FtUnitIndex(unit) = 0 Then
        If unit = -1 Or unit = 5 Then
            FtOpen unit, "input.txt", "old"
        Else
            FtOpen unit, "fort." & CStr(unit), "old"
        End If
    End If
    FtInUnit = unit
    FtInFresh = True
    FtInEnded = False
    FtInRepeat = 0
    FtInFormat = ""
End Sub

' Starts a READ from a CHARACTER variable (an internal file): its value is the one record.
' needs: FtIo FtReadBegin FtClose FtAddUnit
Public Sub FtReadBeginText(ByVal text As String)
    Dim i As Long
    FtClose FtTextUnit
    i = FtAddUnit(FtTextUnit, "", "")
    FtUnits(i).mode = "T"
    FtUnits(i).text = text
    FtReadBegin FtTextUnit
End Sub

' Starts a READ from a CHARACTER array (an internal file of several records): the count
' elements from offset + 1, a record each.
' needs: FtIo FtReadBeginText FtUnitIndex
Public Sub FtReadBeginRecords(ByRef records() As String, ByVal offset As Long, ByVal count As Long)
    Dim k As Long, s As String
    For k = 1 To count
        If k > 1 Then s = s & vbLf
        s = s & records(offset + k)
    Next k
    FtReadBeginText s
    FtUnits(FtUnitIndex(FtTextUnit)).status = "records"
End Sub

' Makes the READ begun by FtReadBegin a formatted one: fmt is the FORMAT's text with its
' parentheses, as for FtWriteEnd. FtReadItem then gives each item as its edit descriptor reads
' it: I as Long; F, E, D and G as Double; A as String (Aw: w characters, A: the rest of the
' record, or as many as the variable holds with FtReadText); L as Boolean.
' needs: FtIo FtCompileFormat FtUnitIndex
Public Sub FtReadFormat(ByVal fmt As String)
    Dim i As Long
    FtInFormat = fmt
    FtCompileFormat fmt
    FtInPc = 2
    FtInDepth = 0
    i = FtUnitIndex(FtInUnit)
    FtInZeros = False
    If i > 0 Then FtInZeros = FtUnits(i).zeros
End Sub

' The unit's next record, into its record: False at the end of the file (or of a CHARACTER
' variable's one record, an array's last), where the statement fails.
' needs: FtIo FtUnitFile FtIoFail
Private Function FtInLine(ByVal i As Long) As Boolean
    Dim s As String, f As Integer, parts() As String
    FtInLine = False
    If i = 0 Then Exit Function
    If FtUnits(i).mode = "T" Then
        If FtUnits(i).status = "records" Then
            parts = Split(FtUnits(i).text, vbLf)
        Else
            ReDim parts(0 To 0)
            parts(0) = FtUnits(i).text
        End If
        If FtUnits(i).records > UBound(parts) Then
            FtIoFail -1, "End of file"
            Exit Function
        End If
        s = parts(FtUnits(i).records)
    Else
        f = FtUnitFile(i, "I")
        If EOF(f) Then
            FtIoFail -1, "End of file"
            Exit Function
        End If
        Line Input #f, s
        If Right$(s, 1) = vbCr Then s = Left$(s, Len(s) - 1)
    End If
    FtUnits(i).records = FtUnits(i).records + 1
    FtUnits(i).record = s
    FtUnits(i).pos = 1
    FtInLine = True
End Function

' Whether the READ in progress has failed (its status caught) or has no unit.
' needs: FtIo FtUnitIndex
Private Function FtInStopped() As Boolean
    FtInStopped = (FtIoStat <> 0 And (FtCatchEnd Or FtCatchError)) Or FtUnitIndex(FtInUnit) = 0
End Function

' Reads the unit's next record for a formatted READ.
' needs: FtIo FtInLine
Private Sub FtInNextRecord(ByVal i As Long)
    Dim ok As Boolean
    ok = FtInLine(i)
End Sub

' Walks the format of a READ to its next data edit descriptor and returns its index; with
' finishing, walks to the end instead (a trailing / still skips a record) and returns 0.
' needs: FtIo FtInNextRecord FtCompileFormat FtInStopped
Private Function FtInWalk(ByVal i As Long, ByVal finishing As Boolean) As Long
    Dim kind As String, usedSinceRestart As Boolean
    FtCompileFormat FtInFormat
    usedSinceRestart = True
    Do
        If FtInStopped() Then
            FtInWalk = 0
            Exit Function
        End If
        kind = FtOps(FtInPc).kind
        Select Case kind
        Case "("
            FtInDepth = FtInDepth + 1
            FtInStackOp(FtInDepth) = FtInPc
            FtInStackLeft(FtInDepth) = FtOps(FtInPc).w
            FtInPc = FtInPc + 1
        Case ")"
            If FtInPc = FtOpCount Then
                If finishing Or Not usedSinceRestart Then
                    FtInWalk = 0
                    Exit Function
                End If
                ' more items than descriptors: the next record, from the restart point
                FtInNextRecord i
                FtInDepth = 0
                FtInPc = FtOpRestart
                usedSinceRestart = False
            Else
                FtInStackLeft(FtInDepth) = FtInStackLeft(FtInDepth) - 1
                If FtInStackLeft(FtInDepth) > 0 Then
                    FtInPc = FtInStackOp(FtInDepth) + 1
                Else
                    FtInDepth = FtInDepth - 1
                    FtInPc = FtInPc + 1
                End If
            End If
        Case "I", "F", "E", "ES", "D", "G", "A", "L"
            If finishing Then
                FtInWalk = 0
                Exit Function
            End If
            FtInWalk = FtInPc
            FtInPc = FtInPc + 1
            Exit Function
        Case ":"
            If finishing Then
                FtInWalk = 0
                Exit Function
            End If
            FtInPc = FtInPc + 1
        Case "/"
            FtInNextRecord i
            FtInPc = FtInPc + 1
        Case "TR", "'"
            FtUnits(i).pos = FtUnits(i).pos + IIf(kind = "TR", FtOps(FtInPc).w, Len(FtOps(FtInPc).text))
            FtInPc = FtInPc + 1
        Case "TL"
            FtUnits(i).pos = FtUnits(i).pos - FtOps(FtInPc).w
            If FtUnits(i).pos < 1 Then FtUnits(i).pos = 1
            FtInPc = FtInPc + 1
        Case "T"
            FtUnits(i).pos = FtOps(FtInPc).w
            FtInPc = FtInPc + 1
        Case "B"
            FtInZeros = (FtOps(FtInPc).w = 1)
            FtInPc = FtInPc + 1
        Case Else
            FtInPc = FtInPc + 1
        End Select
    Loop
End Function

' Whether t is digits with at most one point (dot) or none (no dot), after an optional sign,
' and at least one digit.
Private Function FtDigitsOk(ByVal t As String, ByVal dot As Boolean) As Boolean
    Dim k As Long, c As String, digits As Long, points As Long
    If Left$(t, 1) = "+" Or Left$(t, 1) = "-" Then t = Mid$(t, 2)
    For k = 1 To Len(t)
        c = Mid$(t, k, 1)
        If c >= "0" And c <= "9" Then
            digits = digits + 1
        ElseIf c = "." And dot And points = 0 Then
            points = 1
        Else
            FtDigitsOk = False
            Exit Function
        End If
    Next k
    FtDigitsOk = (digits > 0)
End Function

' Splits a real number as read (capitals, no blanks) into its mantissa and exponent ("" when
' there is none): False when it is no number. The exponent's letter is E, D or Q, or left out
' before a sign (1.5+3, 2-05).
' needs: FtDigitsOk
Private Function FtRealParts(ByVal t As String, ByRef mant As String, ByRef ex As String) As Boolean
    Dim k As Long, c As String, u As String
    t = Replace(Replace(t, "D", "E"), "Q", "E")
    k = InStr(t, "E")
    If k = 0 Then
        For k = Len(t) To 2 Step -1
            c = Mid$(t, k, 1)
            u = Mid$(t, k - 1, 1)
            If (c = "+" Or c = "-") And ((u >= "0" And u <= "9") Or u = ".") Then Exit For
        Next k
        If k < 2 Then k = 0
        If k > 0 Then t = Left$(t, k - 1) & "E" & Mid$(t, k)
    End If
    If k > 0 Then
        mant = Left$(t, k - 1)
        ex = Mid$(t, k + 1)
    Else
        mant = t
        ex = ""
    End If
    FtRealParts = FtDigitsOk(mant, True) And (k = 0 Or FtDigitsOk(ex, False))
End Function

' One field of a formatted READ under the descriptor op: blanks in numbers ignored (BN) or
' zeros (BZ); a field that is no value of its kind fails the statement (gfortran's 5010).
' needs: FtIo FtIoFail FtDigitsOk FtRealParts
Private Function FtInField(ByVal field As String, ByVal op As Long) As Variant
    Dim t As String, d As Long, k As Long, mant As String, ex As String
    Dim sign As String
    Select Case FtOps(op).kind
    Case "A"
        FtInField = field
        Exit Function
    Case "L"
        t = UCase$(Trim$(field))
        If Left$(t, 1) = "." Then t = Mid$(t, 2)
        If t <> "" And Left$(t, 1) <> "T" And Left$(t, 1) <> "F" Then
            FtIoFail 5010, "Bad value during logical read"
        End If
        FtInField = (Left$(t, 1) = "T")
        Exit Function
    End Select
    If FtInZeros Then t = Replace(LTrim$(field), " ", "0") Else t = Replace(field, " ", "")
    t = UCase$(t)
    If FtOps(op).kind = "I" Then
        If t = "" Or t = "+" Or t = "-" Then
            FtInField = CLng(0)
        ElseIf FtDigitsOk(t, False) Then
            FtInField = CLng(Val(t))
        Else
            FtIoFail 5010, "Bad value during integer read"
            FtInField = Empty
        End If
        Exit Function
    End If
    If t = "" Then
        FtInField = CDbl(0)
        Exit Function
    End If
    If Not FtRealParts(t, mant, ex) Then
        FtIoFail 5010, "Bad value during floating point read"
        FtInField = Empty
        Exit Function
    End If
    k = Len(ex)
    d = FtOps(op).d
    ' no decimal point: the last d digits are the fraction
    If InStr(mant, ".") = 0 And d > 0 Then
        If Left$(mant, 1) = "+" Or Left$(mant, 1) = "-" Then
            sign = Left$(mant, 1)
            mant = Mid$(mant, 2)
        End If
        If Len(mant) <= d Then mant = String$(d - Len(mant) + 1, "0") & mant
        mant = sign & Left$(mant, Len(mant) - d) & "." & Right$(mant, d)
    End If
    If k > 0 Then mant = mant & "E" & ex
    FtInField = CDbl(Val(mant))
End Function

' The next value of a formatted READ.
' needs: FtIo FtUnitIndex FtInWalk FtInField FtInNextRecord FtInStopped
Private Function FtReadFormattedItem() As Variant
    Dim i As Long, op As Long, w As Long, s As String, field As String
    FtReadFormattedItem = Empty
    If FtInStopped() Then Exit Function
    i = FtUnitIndex(FtInUnit)
    If FtInFresh Then
        FtInNextRecord i
        FtInFresh = False
    End If
    op = FtInWalk(i, False)
    If op = 0 Then Exit Function
    w = FtOps(op).w
    s = FtUnits(i).record
    If w < 0 Then
        If FtOps(op).kind <> "A" Then
            w = 0
        ElseIf FtInLength > 0 Then
            w = FtInLength
        Else
            w = Len(s) - FtUnits(i).pos + 1
            If w < 0 Then w = 0
        End If
    End If
    field = Left$(Mid$(s, FtUnits(i).pos) & Space$(w), w)
    ' Aw wider than the variable: its last characters
    If FtOps(op).kind = "A" And FtInLength > 0 And w > FtInLength Then field = Right$(field, FtInLength)
    FtReadFormattedItem = FtInField(field, op)
    FtUnits(i).pos = FtUnits(i).pos + w
End Function

' The next value of the READ as a Variant. List-directed: Long, Double, Boolean or String
' (a String as written when read by FtReadText); Empty for a null value or after a slash;
' values span records; r*value repeats. Formatted (after FtReadFormat): as its edit
' descriptor reads it. Empty too once the statement has failed.
' needs: FtIo FtUnitIndex FtInLine FtReadValue FtReadFormattedItem FtQuoted FtInStopped
Public Function FtReadItem() As Variant
    Dim i As Long, s As String, pos As Long, c As String, token As String
    Dim quote As String, star As Long, isText As Boolean, count As String
    FtReadItem = Empty
    If FtInFormat <> "" Then
        FtReadItem = FtReadFormattedItem()
        Exit Function
    End If
    If FtInRepeat > 0 Then
        FtInRepeat = FtInRepeat - 1
        FtReadItem = FtInRepeatValue
        Exit Function
    End If
    If FtInEnded Or FtInStopped() Then Exit Function
    i = FtUnitIndex(FtInUnit)
    If FtInFresh Then
        If Not FtInLine(i) Then Exit Function
        FtInFresh = False
    End If
    Do
        s = FtUnits(i).record
        pos = FtUnits(i).pos
        Do While pos <= Len(s)
            c = Mid$(s, pos, 1)
            If c <> " " And c <> vbTab And c <> vbCr Then Exit Do
            pos = pos + 1
        Loop
        If pos <= Len(s) Then Exit Do
        If Not FtInLine(i) Then Exit Function
    Loop
    c = Mid$(s, pos, 1)
    If c = "," Then
        FtUnits(i).pos = pos + 1
        Exit Function
    End If
    If c = "/" Then
        FtUnits(i).pos = pos + 1
        FtInEnded = True
        Exit Function
    End If
    If c = "'" Or c = """" Then
        quote = c
        pos = pos + 1
        Do While Not FtQuoted(s, pos, quote, token)
            ' a string goes on in the next record
            If Not FtInLine(i) Then Exit Function
            s = FtUnits(i).record
            pos = 1
        Loop
        isText = True
    Else
        Do While pos <= Len(s)
            c = Mid$(s, pos, 1)
            If c = " " Or c = "," Or c = "/" Or c = vbTab Or c = vbCr Then Exit Do
            token = token & c
            pos = pos + 1
        Loop
        ' r*value and r* (r null values)
        star = InStr(token, "*")
        If star > 1 Then
            count = Left$(token, star - 1)
            If count Like "*[!0-9]*" Then star = 0
        Else
            star = 0
        End If
    End If
    ' the separator after a value: blanks, then at most one comma
    Do While pos <= Len(s)
        c = Mid$(s, pos, 1)
        If c <> " " And c <> vbTab And c <> vbCr Then Exit Do
        pos = pos + 1
    Loop
    If Mid$(s, pos, 1) = "," Then pos = pos + 1
    FtUnits(i).pos = pos
    If isText Then
        FtReadItem = token
        Exit Function
    End If
    If star > 0 Then
        FtInRepeat = CLng(count) - 1
        token = Mid$(token, star + 1)
        If token = "" Then
            FtInRepeatValue = Empty
        ElseIf FtInLength > 0 Then
            FtInRepeatValue = token
        Else
            FtInRepeatValue = FtReadValue(token)
        End If
        FtReadItem = FtInRepeatValue
        Exit Function
    End If
    If FtInLength > 0 Then FtReadItem = token Else FtReadItem = FtReadValue(token)
End Function

' An unquoted list-directed value: an integer as Long, a number as Double, a logical
' (T, .T., .TRUE., TRUE, and the same with F, in any case) as Boolean, anything else as the
' String read (so that Fred read into a CHARACTER variable stays Fred).
' needs: FtRealParts
Private Function FtReadValue(ByVal token As String) As Variant
    Dim u As String, body As String, mant As String, ex As String
    u = UCase$(token)
    body = u
    If Left$(body, 1) = "+" Or Left$(body, 1) = "-" Then body = Mid$(body, 2)
    If body <> "" And Not (body Like "*[!0-9]*") Then
        If Len(body) <= 9 Then
            FtReadValue = CLng(Val(u))
        ElseIf Abs(Val(u)) <= 2147483647# Then
            FtReadValue = CLng(Val(u))
        Else
            FtReadValue = CDbl(Val(u))
        End If
    ElseIf FtRealParts(u, mant, ex) Then
        If ex = "" Then FtReadValue = CDbl(Val(mant)) Else FtReadValue = CDbl(Val(mant & "E" & ex))
    ElseIf u = "T" Or u = ".T" Or u = ".T." Or u = "TRUE" Or u = ".TRUE" Or u = ".TRUE." Then
        FtReadValue = True
    ElseIf u = "F" Or u = ".F" Or u = ".F." Or u = "FALSE" Or u = ".FALSE" Or u = ".FALSE." Then
        FtReadValue = False
    Else
        FtReadValue = token
    End If
End Function

' The next item of the READ into an INTEGER variable that holds old: old again for a null
' value or once the statement has failed; a value that is no integer fails it (1.0 too, but
' for a G field).
' needs: FtIo FtReadItem FtReadValue FtIoFail
Public Function FtReadLong(ByVal old As Long) As Long
    Dim v As Variant
    v = FtReadItem()
    FtReadLong = old
    If VarType(v) = vbString And FtInFormat = "" Then v = FtReadValue(v)
    Select Case VarType(v)
    Case vbEmpty
    Case vbLong, vbInteger
        FtReadLong = v
    Case vbDouble
        If FtInFormat <> "" And v = Fix(v) And Abs(v) < 2147483648# Then
            FtReadLong = CLng(v)
        Else
            FtIoFail 5010, "Bad integer for item in list input"
        End If
    Case Else
        FtIoFail 5010, "Bad integer for item in list input"
    End Select
End Function

' The next item of the READ into a REAL or DOUBLE PRECISION variable (see FtReadLong).
' needs: FtIo FtReadItem FtReadValue FtIoFail
Public Function FtReadDouble(ByVal old As Double) As Double
    Dim v As Variant
    v = FtReadItem()
    FtReadDouble = old
    If VarType(v) = vbString And FtInFormat = "" Then v = FtReadValue(v)
    Select Case VarType(v)
    Case vbEmpty
    Case vbLong, vbInteger, vbDouble, vbSingle
        FtReadDouble = v
    Case Else
        FtIoFail 5010, "Bad real number in item of list input"
    End Select
End Function

' The next item of the READ into a LOGICAL variable (see FtReadLong).
' needs: FtIo FtReadItem FtReadValue FtIoFail
Public Function FtReadBool(ByVal old As Boolean) As Boolean
    Dim v As Variant
    v = FtReadItem()
    FtReadBool = old
    If VarType(v) = vbString And FtInFormat = "" Then v = FtReadValue(v)
    Select Case VarType(v)
    Case vbEmpty
    Case vbBoolean
        FtReadBool = v
    Case Else
        FtIoFail 5010, "Bad logical value while reading item"
    End Select
End Function

' The next item of the READ into a CHARACTER variable of the length given: blank-padded or cut
' on the right; under Aw wider than the variable, the field's last characters.
' needs: FtIo FtReadItem
Public Function FtReadText(ByVal old As String, ByVal length As Long) As String
    Dim v As Variant, s As String
    FtInLength = length
    If FtInLength < 1 Then FtInLength = 1
    v = FtReadItem()
    FtInLength = 0
    If VarType(v) = vbEmpty Then
        FtReadText = old
        Exit Function
    End If
    If VarType(v) = vbBoolean Then s = IIf(v, "T", "F") Else s = CStr(v)
    If Len(s) >= length Then FtReadText = Left$(s, length) Else FtReadText = s & Space$(length - Len(s))
End Function

' Ends a READ statement: the rest of the record is skipped (and, formatted, the records a
' trailing / asks to skip). A CHARACTER variable's record is let go.
' needs: FtIo FtUnitIndex FtInWalk FtInNextRecord FtInStopped FtClose
Public Sub FtReadEnd()
    Dim i As Long
    i = FtUnitIndex(FtInUnit)
    If FtInStopped() Then
        ' nothing more of a failed statement
    ElseIf FtInFormat <> "" Then
        If FtInFresh Then FtInNextRecord i
        FtInFresh = False
        i = FtInWalk(i, True)
    ElseIf FtInFresh Then
        ' a READ with no items still passes over a record
        FtInNextRecord i
    End If
    FtInFormat = ""
    FtInRepeat = 0
    FtInFresh = True
    FtInEnded = False
    If FtInUnit = FtTextUnit Then FtClose FtTextUnit
End Sub

' STOP: closes every unit, writes the message (if any) to the report, and ends the program.
' needs: FtIo FtClose FtPath
Public Sub FtStop(ByVal msg As String)
    Dim f As Integer
    Do While FtUnitCount > 0
        FtClose FtUnits(FtUnitCount).id
    Loop
    If msg <> "" Then
        f = FreeFile
        Open FtPath("report.txt") For Append As #f
        Print #f, msg
        Close #f
    End If
    End
End Sub

' PAUSE: writes "PAUSE" and its message (if any) to the report, where gfortran shows them on
' standard error before it waits for "go", and goes on.
' needs: FtIo FtPath
Public Sub FtPause(ByVal msg As String)
    Dim f As Integer
    f = FreeFile
    Open FtPath("report.txt") For Append As #f
    If msg = "" Then Print #f, "PAUSE" Else Print #f, "PAUSE " & msg
    Close #f
End Sub

' MOD of integers: the sign of a, as VBA's Mod.
Public Function FtModL(ByVal a As Long, ByVal b As Long) As Long
    FtModL = a Mod b
End Function

' MOD of reals, exactly as fmod: b times a power of two is taken off while it fits, each
' subtraction exact.
Public Function FtModD(ByVal a As Double, ByVal b As Double) As Double
    Dim r As Double, t As Double, y As Double
    r = Abs(a)
    t = Abs(b)
    If t = 0 Then
        FtModD = a / b
        Exit Function
    End If
    If r >= t Then
        y = t
        Do While y <= r / 2
            y = y * 2
        Loop
        Do While y >= t
            If r >= y Then r = r - y
            y = y / 2
        Loop
    End If
    If a < 0 Then FtModD = -r Else FtModD = r
End Function

' SIGN: |a| with the sign of b.
Public Function FtSignL(ByVal a As Long, ByVal b As Long) As Long
    If b >= 0 Then FtSignL = Abs(a) Else FtSignL = -Abs(a)
End Function

Public Function FtSignD(ByVal a As Double, ByVal b As Double) As Double
    If b >= 0 Then FtSignD = Abs(a) Else FtSignD = -Abs(a)
End Function

' DIM: a - b when positive, else 0.
Public Function FtDimL(ByVal a As Long, ByVal b As Long) As Long
    If a > b Then FtDimL = a - b Else FtDimL = 0
End Function

Public Function FtDimD(ByVal a As Double, ByVal b As Double) As Double
    If a > b Then FtDimD = a - b Else FtDimD = 0
End Function

' INT: truncation toward zero (VBA's Int floors).
Public Function FtInt(ByVal x As Double) As Long
    FtInt = CLng(Fix(x))
End Function

' ANINT: the nearest whole number, halves away from zero; x - Int(x) is exact, x + 0.5 is not.
Public Function FtAnint(ByVal x As Double) As Double
    Dim t As Double
    If x >= 0 Then
        t = Int(x)
        If x - t >= 0.5 Then t = t + 1
        FtAnint = t
    Else
        t = Int(-x)
        If -x - t >= 0.5 Then t = t + 1
        FtAnint = -t
    End If
End Function

' NINT: as ANINT, as an integer (VBA's CLng rounds halves to even).
' needs: FtAnint
Public Function FtNint(ByVal x As Double) As Long
    FtNint = CLng(FtAnint(x))
End Function

Public Function FtMaxL(ByVal a As Long, ByVal b As Long) As Long
    If a >= b Then FtMaxL = a Else FtMaxL = b
End Function

Public Function FtMaxD(ByVal a As Double, ByVal b As Double) As Double
    If a >= b Then FtMaxD = a Else FtMaxD = b
End Function

Public Function FtMinL(ByVal a As Long, ByVal b As Long) As Long
    If a <= b Then FtMinL = a Else FtMinL = b
End Function

Public Function FtMinD(ByVal a As Double, ByVal b As Double) As Double
    If a <= b Then FtMinD = a Else FtMinD = b
End Function

' Integer power as FORTRAN has it: a negative exponent gives 0 unless the base is 1 or -1.
Public Function FtIPow(ByVal b As Long, ByVal e As Long) As Long
    Dim r As Long
    If e < 0 Then
        If b = 1 Then
            FtIPow = 1
        ElseIf b = -1 Then
            If e Mod 2 = 0 Then FtIPow = 1 Else FtIPow = -1
        ElseIf b = 0 Then
            Err.Raise 11, "FtIPow", "Division by zero"
        Else
            FtIPow = 0
        End If
        Exit Function
    End If
    r = 1
    Do While e > 0
        If e Mod 2 = 1 Then r = r * b
        e = e \ 2
        If e > 0 Then b = b * b
    Loop
    FtIPow = r
End Function

' x ** n for an integer n by repeated squaring, in the order compilers' runtimes use, so that
' the result is theirs to the last bit. A negative n whose power of x would overflow (VBA stops
' where C gets infinity) is taken as (1/x) ** -n.
Public Function FtPowI(ByVal b As Double, ByVal e As Long) As Double
    Dim n As Long, y As Double, x As Double
    x = b
    n = Abs(e)
    If n Mod 2 = 1 Then y = b Else y = 1
    n = n \ 2
    Do While n > 0
        If Abs(b) > 1E+154 Or (n Mod 2 = 1 And Abs(y) > 1E+154) Then
            If e < 0 Then
                FtPowI = FtPowI(1 / x, -e)
                Exit Function
            End If
        End If
        b = b * b
        If n Mod 2 = 1 Then y = y * b
        n = n \ 2
    Loop
    If e < 0 Then FtPowI = 1 / y Else FtPowI = y
End Function

' LOG10, exact at the powers of ten.
' needs: FtPowI
Public Function FtLog10(ByVal x As Double) As Double
    Dim r As Double, n As Long
    r = Log(x) / Log(10#)
    n = CLng(r)
    If Abs(r - n) < 0.000000001 Then
        If FtPowI(10, n) = x Then r = n
    End If
    FtLog10 = r
End Function

' ATAN2(y, x) in (-pi, pi].
Public Function FtAtan2(ByVal y As Double, ByVal x As Double) As Double
    Dim pi As Double
    pi = 4 * Atn(1)
    If x > 0 Then
        FtAtan2 = Atn(y / x)
    ElseIf x < 0 Then
        If y >= 0 Then FtAtan2 = Atn(y / x) + pi Else FtAtan2 = Atn(y / x) - pi
    ElseIf y > 0 Then
        FtAtan2 = pi / 2
    ElseIf y < 0 Then
        FtAtan2 = -pi / 2
    Else
        FtAtan2 = 0
    End If
End Function

' needs: FtAtan2
Public Function FtAsin(ByVal x As Double) As Double
    FtAsin = FtAtan2(x, Sqr((1 - x) * (1 + x)))
End Function

' needs: FtAtan2
Public Function FtAcos(ByVal x As Double) As Double
    FtAcos = FtAtan2(Sqr((1 - x) * (1 + x)), x)
End Function

' SINH; near zero by its series, where the difference of exponentials loses the digits.
Public Function FtSinh(ByVal x As Double) As Double
    Dim term As Double, sum As Double, k As Long
    If Abs(x) < 1 Then
        term = x
        sum = x
        k = 1
        Do While Abs(term) > Abs(sum) * 1E-17
            term = term * x * x / ((k + 1) * (k + 2))
            sum = sum + term
            k = k + 2
        Loop
        FtSinh = sum
    Else
        FtSinh = (Exp(x) - Exp(-x)) / 2
    End If
End Function

Public Function FtCosh(ByVal x As Double) As Double
    FtCosh = (Exp(x) + Exp(-x)) / 2
End Function

' needs: FtSinh FtCosh
Public Function FtTanh(ByVal x As Double) As Double
    If x > 20 Then
        FtTanh = 1
    ElseIf x < -20 Then
        FtTanh = -1
    Else
        FtTanh = FtSinh(x) / FtCosh(x)
    End If
End Function

' Character comparison as FORTRAN has it: the shorter string padded with blanks; -1, 0 or 1.
Public Function FtStrCmp(ByVal a As String, ByVal b As String) As Long
    If Len(a) < Len(b) Then
        a = a & Space$(Len(b) - Len(a))
    ElseIf Len(b) < Len(a) Then
        b = b & Space$(Len(a) - Len(b))
    End If
    FtStrCmp = StrComp(a, b, vbBinaryCompare)
End Function

' Assignment to a CHARACTER*n variable: blank-padded or cut to n.
Public Function FtPad(ByVal s As String, ByVal n As Long) As String
    If Len(s) >= n Then FtPad = Left$(s, n) Else FtPad = s & Space$(n - Len(s))
End Function

Public Function FtIchar(ByVal s As String) As Long
    FtIchar = Asc(s)
End Function

Public Function FtChar(ByVal i As Long) As String
    FtChar = Chr$(i)
End Function

Public Function FtIndex(ByVal s As String, ByVal t As String) As Long
    FtIndex = InStr(1, s, t, vbBinaryCompare)
End Function

Public Function FtLenTrim(ByVal s As String) As Long
    FtLenTrim = Len(RTrim$(s))
End Function

' The machine constants of IEEE double and single precision, as EPSILON, HUGE, TINY, RADIX,
' DIGITS, MINEXPONENT and MAXEXPONENT give them.
' needs: FtPow2
Public Function FtEpsilonD() As Double
    FtEpsilonD = 1 / FtPow2(52)
End Function

' needs: FtPow2
Public Function FtHugeD() As Double
    FtHugeD = (2 - 1 / FtPow2(52)) * FtPow2(1023)
End Function

' needs: FtPow2
Public Function FtTinyD() As Double
    FtTinyD = 1 / FtPow2(1022)
End Function

' needs: FtPow2
Public Function FtEpsilonS() As Single
    FtEpsilonS = CSng(1 / FtPow2(23))
End Function

' LibreOffice Basic refuses Singles above 3.402823E+38, just below the largest one; VBA takes it.
' needs: FtPow2
Public Function FtHugeS() As Single
    On Error GoTo NotHeld
    FtHugeS = CSng((2 - 1 / FtPow2(23)) * FtPow2(127))
    Exit Function
NotHeld:
    FtHugeS = CSng(3.402823E+38)
End Function

' LibreOffice Basic refuses Singles below 1.175494351E-38, just above the smallest normal one.
' needs: FtPow2
Public Function FtTinyS() As Single
    On Error GoTo NotHeld
    FtTinyS = CSng(1 / FtPow2(126))
    Exit Function
NotHeld:
    FtTinyS = CSng(1.175494351E-38)
End Function

Public Function FtRadix() As Long
    FtRadix = 2
End Function

Public Function FtDigitsD() As Long
    FtDigitsD = 53
End Function

Public Function FtDigitsS() As Long
    FtDigitsS = 24
End Function

Public Function FtMinExpD() As Long
    FtMinExpD = -1021
End Function

Public Function FtMaxExpD() As Long
    FtMaxExpD = 1024
End Function

Public Function FtMinExpS() As Long
    FtMinExpS = -125
End Function

Public Function FtMaxExpS() As Long
    FtMaxExpS = 128
End Function
