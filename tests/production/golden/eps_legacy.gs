-q
-dSAFER
-dNOPAUSE
-dBATCH
-sDEVICE#epswrite
-r14400
-sOutputFile#"/tmp/q/s1_si_full_1.eps"
"/tmp/q/letterhead.pdf"