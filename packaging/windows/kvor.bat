@echo off
rem Plays the kvor demo with its music: the player first (unless one is
rem already running), then the show, which starts, fades and closes it.
cd /d "%~dp0"
kvor-player.exe --start
kvor.exe
exit /b %errorlevel%
