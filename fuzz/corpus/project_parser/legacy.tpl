{ A part template of an earlier release: its section is still named PFG. }

start_pfg
Prop_POWER_GROUP '5,VCC=14,GND=7,No,Invisible,Left'
Symbol_Width '10'
END_PFG
