// Until the runtime library lands: the helpers the writer calls, small and
// plain, each Public, so that modules compile and run. List-directed output
// only; a FORMAT's items are written as list-directed ones.
#include "finish/runtime_standin.h"

#include <string_view>

namespace ftvb::finish {
namespace {

struct Helper {
    const char* name;
    const char* text;
};

constexpr const char* kState = R"(Public FtFolder As String
Private ftLine As String
Private ftUnit As Long
Private ftItems As Long
)";

constexpr Helper kHelpers[] = {
    {"FtWriteBegin", R"(Public Sub FtWriteBegin(ByVal unit As Long)
    ftUnit = unit
    ftLine = ""
    ftItems = 0
End Sub
)"},
    {"FtWriteItem", R"(Public Sub FtWriteItem(ByVal v As Variant)
    Dim s As String
    Select Case VarType(v)
    Case vbInteger, vbLong
        s = CStr(v)
        s = Space$(12 - Len(s)) & s
    Case vbSingle, vbDouble
        s = "  " & CStr(v)
    Case vbBoolean
        If v Then s = " T" Else s = " F"
    Case Else
        s = CStr(v)
        If ftItems = 0 Then s = " " & s
    End Select
    ftLine = ftLine & s
    ftItems = ftItems + 1
End Sub
)"},
    {"FtWriteEnd", R"(Public Sub FtWriteEnd(ByVal fmt As String)
    Dim f As Integer
    f = FreeFile
    Open FtFolder & "report.txt" For Append As #f
    Print #f, ftLine
    Close #f
End Sub
)"},
    {"FtReadBegin", R"(Public Sub FtReadBegin(ByVal unit As Long)
End Sub
)"},
    {"FtReadItem", R"(Public Function FtReadItem() As Variant
    FtReadItem = 0
End Function
)"},
    {"FtReadEnd", R"(Public Sub FtReadEnd()
End Sub
)"},
    {"FtOpen", R"(Public Sub FtOpen(ByVal unit As Long, ByVal file As String, ByVal status As String)
End Sub
)"},
    {"FtClose", R"(Public Sub FtClose(ByVal unit As Long)
End Sub
)"},
    {"FtStop", R"(Public Sub FtStop(ByVal msg As String)
    If msg <> "" Then
        FtWriteBegin -1
        FtWriteItem "STOP " & msg
        FtWriteEnd "*"
    End If
    End
End Sub
)"},
    {"FtModL", R"(Public Function FtModL(ByVal a As Long, ByVal b As Long) As Long
    FtModL = a - (a \ b) * b
End Function
)"},
    {"FtModD", R"(Public Function FtModD(ByVal a As Double, ByVal b As Double) As Double
    FtModD = a - Fix(a / b) * b
End Function
)"},
    {"FtSignL", R"(Public Function FtSignL(ByVal a As Long, ByVal b As Long) As Long
    If b >= 0 Then FtSignL = Abs(a) Else FtSignL = -Abs(a)
End Function
)"},
    {"FtSignD", R"(Public Function FtSignD(ByVal a As Double, ByVal b As Double) As Double
    If b >= 0 Then FtSignD = Abs(a) Else FtSignD = -Abs(a)
End Function
)"},
    {"FtDimL", R"(Public Function FtDimL(ByVal a As Long, ByVal b As Long) As Long
    If a > b Then FtDimL = a - b Else FtDimL = 0
End Function
)"},
    {"FtDimD", R"(Public Function FtDimD(ByVal a As Double, ByVal b As Double) As Double
    If a > b Then FtDimD = a - b Else FtDimD = 0
End Function
)"},
    {"FtInt", R"(Public Function FtInt(ByVal x As Double) As Long
    FtInt = CLng(Fix(x))
End Function
)"},
    {"FtNint", R"(Public Function FtNint(ByVal x As Double) As Long
    If x >= 0 Then FtNint = CLng(Fix(x + 0.5)) Else FtNint = CLng(Fix(x - 0.5))
End Function
)"},
    {"FtAnint", R"(Public Function FtAnint(ByVal x As Double) As Double
    If x >= 0 Then FtAnint = Fix(x + 0.5) Else FtAnint = Fix(x - 0.5)
End Function
)"},
    {"FtMaxL", R"(Public Function FtMaxL(ByVal a As Long, ByVal b As Long) As Long
    If a >= b Then FtMaxL = a Else FtMaxL = b
End Function
)"},
    {"FtMaxD", R"(Public Function FtMaxD(ByVal a As Double, ByVal b As Double) As Double
    If a >= b Then FtMaxD = a Else FtMaxD = b
End Function
)"},
    {"FtMinL", R"(Public Function FtMinL(ByVal a As Long, ByVal b As Long) As Long
    If a <= b Then FtMinL = a Else FtMinL = b
End Function
)"},
    {"FtMinD", R"(Public Function FtMinD(ByVal a As Double, ByVal b As Double) As Double
    If a <= b Then FtMinD = a Else FtMinD = b
End Function
)"},
    {"FtIPow", R"(Public Function FtIPow(ByVal b As Long, ByVal e As Long) As Long
    Dim r As Long
    If e < 0 Then
        If b = 1 Then
            FtIPow = 1
        ElseIf b = -1 Then
            If e Mod 2 = 0 Then FtIPow = 1 Else FtIPow = -1
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
)"},
    {"FtPowI", R"(Public Function FtPowI(ByVal b As Double, ByVal e As Long) As Double
    Dim r As Double
    Dim n As Long
    n = Abs(e)
    r = 1
    Do While n > 0
        If n Mod 2 = 1 Then r = r * b
        n = n \ 2
        If n > 0 Then b = b * b
    Loop
    If e < 0 Then r = 1 / r
    FtPowI = r
End Function
)"},
    {"FtLog10", R"(Public Function FtLog10(ByVal x As Double) As Double
    FtLog10 = Log(x) / Log(10#)
End Function
)"},
    {"FtAtan2", R"(Public Function FtAtan2(ByVal y As Double, ByVal x As Double) As Double
    Const pi As Double = 3.14159265358979
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
)"},
    {"FtStrCmp", R"(Public Function FtStrCmp(ByVal a As String, ByVal b As String) As Long
    If Len(a) < Len(b) Then a = a & Space$(Len(b) - Len(a))
    If Len(b) < Len(a) Then b = b & Space$(Len(a) - Len(b))
    If a < b Then
        FtStrCmp = -1
    ElseIf a > b Then
        FtStrCmp = 1
    Else
        FtStrCmp = 0
    End If
End Function
)"},
    {"FtPad", R"(Public Function FtPad(ByVal s As String, ByVal n As Long) As String
    If Len(s) >= n Then FtPad = Left$(s, n) Else FtPad = s & Space$(n - Len(s))
End Function
)"},
    {"FtIchar", R"(Public Function FtIchar(ByVal s As String) As Long
    FtIchar = Asc(s)
End Function
)"},
    {"FtChar", R"(Public Function FtChar(ByVal i As Long) As String
    FtChar = Chr$(i)
End Function
)"},
    {"FtIndex", R"(Public Function FtIndex(ByVal s As String, ByVal t As String) As Long
    FtIndex = InStr(1, s, t, vbBinaryCompare)
End Function
)"},
    {"FtLenTrim", R"(Public Function FtLenTrim(ByVal s As String) As Long
    FtLenTrim = Len(RTrim$(s))
End Function
)"},
    {"FtEpsilonD", R"(Public Function FtEpsilonD() As Double
    FtEpsilonD = 2.22044604925031E-16
End Function
)"},
};

}  // namespace

const std::vector<std::string>& runtimeNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const Helper& h : kHelpers) v.push_back(h.name);
        return v;
    }();
    return names;
}

std::string runtimeText(const std::set<std::string>& used) {
    std::set<std::string> all = used;
    if (all.count("FtStop") != 0) {
        all.insert({"FtWriteBegin", "FtWriteItem", "FtWriteEnd"});
    }
    std::string text = kState;
    for (const Helper& h : kHelpers) {
        if (all.count(h.name) != 0) {
            text += '\n';
            text += h.text;
        }
    }
    return text;
}

}  // namespace ftvb::finish
