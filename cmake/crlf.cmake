# Copies a text file with Windows line ends (CR LF), for Notepad and the
# like: cmake -DIN=README.md -DOUT=README.txt -P crlf.cmake
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
