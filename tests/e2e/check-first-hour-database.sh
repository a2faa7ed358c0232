#!/bin/sh
# Reads the database that the first-hour run left behind with mdbtools and checks that it
# holds exactly the rows the user entered: the vehicle, its two interventions (the second
# as corrected), the catalogue with the spark plugs added at the first start and the
# user's entry as changed; and that the restore's safety copy holds the vehicle that the
# restore took away.
#   check-first-hour-database.sh RUN_FOLDER TEMPLATE
set -eu
run=$1
template=$2
data=$run/AppData/TorvaneManutenzione/dati
status=0

expect() {  # expect TABLE FILE EXPECTED
  actual=$(mdb-export -T '%Y-%m-%d %H:%M:%S' "$2" "$1")
  if [ "$actual" != "$3" ]; then
    printf 'Table %s of %s differs.\n--- expected\n%s\n--- found\n%s\n' "$1" "$2" "$3" "$actual"
    status=1
  fi
}

expect VEICOLO "$data/dati.mdb" 'ID,TARGA,DESCRIZIONE,KM,DATA_KM
1,"AB123CD","UTILITARIA DI PROVA",20000,"2024-03-01 00:00:00"'

# The run dates the two interventions 60 and 90 days before its day (FirstHourTest.cpp).
oil_day=$(date -d '60 days ago' +%Y-%m-%d)
filter_day=$(date -d '90 days ago' +%Y-%m-%d)
expect INTERVENTI_VEICOLO "$data/dati.mdb" "ID,ID_VEICOLO,ID_INTERVENTO,KM,DATA,COSTO,NOTE
1,1,1,19000,\"$oil_day 00:00:00\",45.5,\"OLIO 5W30\"
2,1,4,5500,\"$filter_day 00:00:00\",22.5,\"FILTRO A CARBONI ATTIVI\""

expect INTERVENTI "$data/dati.mdb" "$(mdb-export "$template" INTERVENTI)
26,\"Candela\",6000,\"Controllare e pulire, regolare, lubrificare o sostituire (ogni 12.000 km) se necessario\",0
27,\"Controllo freno a mano\",25000,\"Regolare la leva\",1"

expect VEICOLO "$data/dati.mdb.000" 'ID,TARGA,DESCRIZIONE,KM,DATA_KM
1,"AB123CD","UTILITARIA DI PROVA",20000,"2024-03-01 00:00:00"
2,"ZZ999ZZ",,0,'

if [ -e "$data/dati.mdb.001" ]; then
  echo "a second safety copy exists after one restore"
  status=1
fi
exit $status
