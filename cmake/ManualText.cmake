# cmake -DMANDOC=<mandoc> -DPAGE=classify.1 -DTEXT=classify.txt -P ManualText.cmake
# The manual page as plain text for Windows, where there is no man: formatted
# by mandoc, its overstruck bold and underline taken back to the letters, with
# CR LF line ends.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${MANDOC} -T ascii ${PAGE} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
string(ASCII 8 backspace)
string(REGEX REPLACE "[^\n]${backspace}" "" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TEXT} "${text}")
