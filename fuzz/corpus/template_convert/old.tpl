{ old }
start_pfg
Symbol_Width '10'
Prop_A '1,v,No,Name,Left'
PackagePlaceHolder 'TBD'
END_PFG
START_PFG 
