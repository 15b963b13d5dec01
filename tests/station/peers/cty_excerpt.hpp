#pragma once

// A small country file in cty.dat's layout (longitudes west positive, as in the real file).
inline constexpr const char* kCtyExcerpt =
    "England:                  14:  27:  EU:   52.77:     1.47:     0.0:  G:\n"
    "    2E,G,M,=G4ABC/LH;\n"
    "United States:            05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    AA,K,N,W,=W1AW/KH6(31)[61]<21.30/157.90>{OC}~10.0~;\n"
    "Hawaii:                   31:  61:  OC:   21.12:   157.48:    10.0:  KH6:\n"
    "    AH6,KH6,KH7,NH6,WH6;\n"
    "Canary Islands:           33:  36:  AF:   28.32:    15.85:     0.0:  *EA8:\n"
    "    AM8,AN8,EA8,EB8;\n"
    "Spain:                    14:  37:  EU:   40.37:     4.88:    -1.0:  EA:\n"
    "    AM,AN,AO,EA,EB,EC,ED,EE,EF,EG,EH;\n"
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
    "    DA,DB,DC,DD,DE,DF,DG,DH,DI,DJ,DK,DL,DM,DN,DO,DP,DQ,DR,\n"
    "    Y2,Y3,Y4,Y5,Y6,Y7,Y8,Y9;\n"
    "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n"
    "    7J,7K,JA,JE,JF,JG,JH,JI,JJ,JK,JL,JM,JN,JO,JP,JQ,JR,JS;\n"
    "South Africa:             38:  57:  AF:  -29.07:   -22.63:    -2.0:  ZS:\n"
    "    S8,ZR,ZS,ZT,ZU;\n"
    "Falkland Islands:         13:  16:  SA:  -51.63:    58.72:     4.0:  VP8:\n"
    "    VP8;\n";
