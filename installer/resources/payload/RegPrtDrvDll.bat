regsvr32 /s DriverAutomationLibrary.dll
exit
