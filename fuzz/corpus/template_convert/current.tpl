START_PFG142
Symbol_Length '3'
PinType_NC '1,x,x,x,Left'
Format_ReadActiveLow 'ActiveLow_Suffix_N'
Prop_NEW '1,${HOME},No,Value,Left'
END_PFG142
